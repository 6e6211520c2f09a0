#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// The built program itself: main() passes its arguments, output and exit status through.
namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ProgramRun RunProgram(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VALDRIX_CLI_PROGRAM), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

std::string FileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<no file>";
    return file.readAll().toStdString();
}

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
        {{"--link", link, "reset"}, 0, "*RST\n", "*RST\n", ""},
        {{"--link", link, "raw", "*CLS", "*TRG"}, 0, "*CLS\n*TRG\n", "*RST\n*CLS\n*TRG\n", ""},
        {{"--link", link, "--dry-run", "local"}, 0, "*SYSTem:LOCal\n", "*RST\n*CLS\n*TRG\n", ""},
        {{"--link", link, "burst", "--cycles", "12"}, 2, "", "*RST\n*CLS\n*TRG\n", "--cycles"},
        {{"--link", QStringLiteral("file:") + directory.filePath(QStringLiteral("no/such/wire")),
          "trigger"},
         1,
         "",
         "*RST\n*CLS\n*TRG\n",
         "cannot open"},
        {{"--version"}, 0, "valdrix-cli 1.0.0.1\n", "*RST\n*CLS\n*TRG\n", ""},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(expected.arguments.join(' ').toStdString());
        const ProgramRun run = RunProgram(expected.arguments);
        EXPECT_EQ(run.exitCode, expected.exitCode);
        EXPECT_EQ(run.out, expected.out);
        EXPECT_EQ(FileText(wire), expected.written);
        EXPECT_THAT(run.err, ::testing::HasSubstr(expected.errNames));
    }
}

}  // namespace
