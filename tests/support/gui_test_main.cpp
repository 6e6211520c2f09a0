#include <gtest/gtest.h>

#include <QApplication>

#include "framework/template_fonts.h"
#include "res/names_valdrix.h"
#include "support/private_runtime_dir.h"

using namespace valdrix::gui;

int main(int argc, char** argv) {
    // The dialogs are real widgets; they need no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const PrivateRuntimeDir runtime;
    QApplication application(argc, argv);
    QApplication::setApplicationName("Valdrix");
    InstallProductTexts(ValdrixNames());
    RegisterFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
