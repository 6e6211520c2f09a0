#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "framework/template_fonts.h"
#include "res/names_valdrix.h"

using namespace valdrix::gui;

int main(int argc, char** argv) {
    // The dialogs are real widgets; they need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A line end owed on a link is kept for the next run under here: never the user's own.
    const QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication application(argc, argv);
    QApplication::setApplicationName("Valdrix");
    InstallProductTexts(ValdrixNames());
    RegisterFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
