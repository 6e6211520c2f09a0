#include "app/program.h"

#include <QApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>
#include <string>

#include "app/program_options.h"
#include "app/valdrix_app.h"
#include "framework/message_box.h"
#include "framework/template_fonts.h"
#include "res/app_icon.h"

namespace valdrix::gui {

namespace {

constexpr int kUsageError = 2;

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The name the program was started by, without its folder: what the operator types.
std::string ProgramName(const char* path) {
    const std::string name(path);
    const auto slash = name.find_last_of('/');
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// A FIFO link whose reader goes away (EPIPE) or a file link over its size limit (EFBIG) fails
// the write, which the send reports in its box and log; left to their default, these signals
// would end the panel silently part-way through a send.
void FailWritesInsteadOfDying() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

int RunWindow(int argc, char** argv, const ProductTexts& texts, const ProgramOptions& options) {
    FailWritesInsteadOfDying();
    QApplication application(argc, argv);
    InstallProductTexts(texts);
    QApplication::setApplicationName(QString::fromStdString(texts.caption));
    QApplication::setApplicationVersion(QString::fromStdString(texts.version));
    QApplication::setWindowIcon(ApplicationIcon());
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromStdString(texts.caption).toLower());
    RegisterFontSubstitutes();
    InstallMessageBoxHandler(ShowModalMessageBox);
    CValdrixApp theApp(options.link, options.defaults);
    theApp.InitInstance();
    return 0;
}

}  // namespace

int RunProgram(int argc, char** argv, const ProductTexts& texts) {
    const std::string program = ProgramName(argv[0]);
    const ProgramOptions options = ParseProgramOptions(ArgumentsOf(argc, argv));
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program.c_str(), options.error.c_str(),
                     program.c_str());
        return kUsageError;
    }
    if (options.help) {
        std::fputs(UsageText(program).c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s %s\n", texts.caption.c_str(), texts.version.c_str());
        return 0;
    }
    return RunWindow(argc, argv, texts, options);
}

}  // namespace valdrix::gui
