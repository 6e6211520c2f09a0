#include "app/program.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program_options.h"
#include "app/valdrix_app.h"
#include "framework/message_box.h"
#include "framework/template_fonts.h"
#include "link/instrument.h"
#include "res/app_icon.h"

namespace {

constexpr int kUsageError = 2;

// The arguments that Qt left once it took its own (-platform and the like) out.
std::vector<std::string> ArgumentsAfterQt() {
    std::vector<std::string> arguments;
    const QStringList all = QApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(all[i].toStdString());
    return arguments;
}

bool Asked(int argc, char** argv, std::string_view option) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == option) return true;
    }
    return false;
}

}  // namespace

int RunProgram(int argc, char** argv, const ProductTexts& texts) {
    // Help and version need no display.
    if (Asked(argc, argv, "--help") || Asked(argc, argv, "-h")) {
        std::fputs(UsageText(argv[0]).c_str(), stdout);
        return 0;
    }
    if (Asked(argc, argv, "--version")) {
        std::printf("%s %s\n", texts.caption.c_str(), texts.version.c_str());
        return 0;
    }
    QApplication application(argc, argv);
    const ProgramOptions options = ParseProgramOptions(ArgumentsAfterQt());
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", argv[0], options.error.c_str(), UsageText(argv[0]).c_str());
        return kUsageError;
    }
    InstallProductTexts(texts);
    QApplication::setApplicationName(QString::fromStdString(texts.caption));
    QApplication::setApplicationVersion(QString::fromStdString(texts.version));
    QApplication::setWindowIcon(ApplicationIcon());
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromStdString(texts.caption).toLower());
    RegisterFontSubstitutes();
    InstallMessageBoxHandler(ShowModalMessageBox);
    InstallDeviceBackend(MakeBackend(options.link));
    CValdrixApp theApp;
    theApp.InitInstance();
    InstallDeviceBackend(nullptr);
    return 0;
}
