#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
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
        {{"--link", "file:" + directory.filePath("no/such/wire"), "trigger"},
         1,
         "",
         "*CLS\n*TRG\n",
         "cannot open"},
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
        EXPECT_THAT(process.readAllStandardError().toStdString(),
                    ::testing::HasSubstr(expected.errNames));
        QFile file(wire);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().toStdString(), expected.written);
    }
}

// A reader that goes away (| head -1) fails the output: the program says so and exits 1 rather
// than dying of SIGPIPE part-way through.
TEST(CliProgram, AReaderThatGoesAwayIsAFailureNotADeath) {
    QProcess process;
    process.start("bash",
                  {"-c", R"("$0" --dry-run raw - | head -c 1 >/dev/null; exit ${PIPESTATUS[0]})",
                   QStringLiteral(VALDRIX_CLI_PROGRAM)});
    process.write(QByteArray("*CLS\n").repeated(100000));
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_THAT(process.readAllStandardError().toStdString(),
                ::testing::HasSubstr("cannot write to standard output"));
}

// Runs a shell command line with the program as $0 and a link file in a folder of its own, its
// owed line ends kept there too.
class CliShell : public ::testing::Test {
protected:
    int Run(const QString& commandLine) {
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        shell.setProcessEnvironment(environment);
        shell.setWorkingDirectory(folder.path());
        shell.start("bash", {"-c", commandLine, QStringLiteral(VALDRIX_CLI_PROGRAM)});
        EXPECT_TRUE(shell.waitForFinished(30000));
        err = shell.readAllStandardError().toStdString();
        return shell.exitCode();
    }
    std::string Wire() const {
        QFile file(folder.filePath("w.bin"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(none)";
    }
    QTemporaryDir folder, runtime;
    std::string err;
};

// With standard output closed, the link file would take its number and every line listed
// would go to the instrument a second time: nothing is sent.
TEST_F(CliShell, AClosedStandardOutputSendsNothing) {
    EXPECT_EQ(Run(R"("$0" --link file:w.bin raw 'FREQuency 1000Hz' '*TRG' >&-)"), 1);
    EXPECT_THAT(err, ::testing::HasSubstr("standard output is closed"));
    EXPECT_EQ(Wire(), "(none)");
    EXPECT_EQ(Run(R"("$0" --link file:w.bin trigger <&- 2>&-)"), 0);
    EXPECT_EQ(Wire(), "*TRG\n");
}

// A line cut short by the file size limit owes its line end to the next run on the link, which
// sends it first; a run that owes none adds no byte.
TEST_F(CliShell, ALineEndOwedGoesFirstInTheNextRunAndOnlyThen) {
    EXPECT_EQ(Run(R"(head -c 1010 /dev/zero > w.bin; ulimit -f 1;
                    "$0" --link file:w.bin raw 'FREQuency 1000.000000Hz' 'OUTPut ON')"),
              1);
    EXPECT_THAT(err, ::testing::HasSubstr("goes before the next command"));
    EXPECT_EQ(Run(R"("$0" --link file:$PWD/w.bin reset && "$0" --link file:w.bin reset)"), 0);
    EXPECT_EQ(Wire().substr(1010), "FREQuency 1000\n*RST\n*RST\n");
    EXPECT_TRUE(QDir(runtime.path() + "/valdrix-owed-line-ends").isEmpty());
}

}  // namespace
