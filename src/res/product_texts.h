#pragma once

#include <string>

// The texts that carry a program's name; everything else is the same in both programs.
struct ProductTexts {
    std::string caption;        // main window caption and internal name
    std::string aboutCaption;   // About box caption
    std::string aboutLabel;     // About box name and version line
    std::string aboutMenuItem;  // the About item of the system menu (string 101)
    std::string fileName;       // file name of the version resource
    std::string version;        // file and product version
};

// The program installs its texts once at start-up, before any window exists.
void InstallProductTexts(const ProductTexts& texts);
const ProductTexts& InstalledProductTexts();
