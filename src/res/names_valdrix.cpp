#include "res/names_valdrix.h"

const ProductTexts& ValdrixNames() {
    static const ProductTexts texts{
        "Valdrix",     "关于 Valdrix", "Valdrix 1.0 版", "关于 Valdrix(&A)...",
        "Valdrix.EXE", "1.0.0.1",
    };
    return texts;
}
