#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// The built program itself: main() passes its arguments, standard input, output and exit
// status through, and the file link writes the frames.
namespace {

TEST(CliProgram, ExitStatusOutputAndLinkReachTheShell) {
    struct Case {
        QStringList arguments;
        int exitCode;
        std::string out;
        std::string written;  // what the file link holds afterwards
        std::string errNames;
    };
    QTemporaryDir directory;
    const QString wire = directory.filePath(QStringLiteral("wire"));
    const QString link = QStringLiteral("file:") + wire;
    const Case cases[] = {
        {{"--link", link, "raw", "-"}, 0, "*CLS\n*TRG\n", "*CLS\n*TRG\n", ""},
        {{"burst", "--link", link, "--cycles", "12"}, 2, "", "*CLS\n*TRG\n", "--cycles"},
        {{"--link", "file:" + directory.filePath("no/such/wire"), "trigger"}, 1, "",
         "*CLS\n*TRG\n", "cannot open"},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(expected.arguments.join(' ').toStdString());
        QProcess process;
        process.start(QStringLiteral(VALDRIX_CLI_PROGRAM), expected.arguments);
        process.write("# a script\n*CLS\n*TRG\n");
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), expected.exitCode);
        EXPECT_EQ(process.readAllStandardOutput().toStdString(), expected.out);
        EXPECT_THAT(process.readAllStandardError().toStdString(), ::testing::HasSubstr(expected.errNames));
        QFile file(wire);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().toStdString(), expected.written);
    }
}

// A reader that goes away (| head -1) fails the output: the program says so and exits 1 rather
// than dying of SIGPIPE part-way through.
TEST(CliProgram, AReaderThatGoesAwayIsAFailureNotADeath) {
    QProcess process;
    process.start("bash", {"-c", R"("$0" --dry-run raw - | head -c 1 >/dev/null; exit ${PIPESTATUS[0]})",
                           QStringLiteral(VALDRIX_CLI_PROGRAM)});
    process.write(QByteArray("*CLS\n").repeated(100000));
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_THAT(process.readAllStandardError().toStdString(),
                ::testing::HasSubstr("cannot write to standard output"));
}

}  // namespace
