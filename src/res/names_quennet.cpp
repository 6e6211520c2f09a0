#include "res/names_quennet.h"

const ProductTexts& QuennetNames() {
    static const ProductTexts texts{
        "Quennet",     "关于 Quennet", "Quennet 1.0 版", "关于 Quennet(&A)...",
        "Quennet.EXE", "1.0.0.1",
    };
    return texts;
}
