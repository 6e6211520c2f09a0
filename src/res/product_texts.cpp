#include "res/product_texts.h"

namespace {

ProductTexts& Installed() {
    static ProductTexts texts;
    return texts;
}

}  // namespace

void InstallProductTexts(const ProductTexts& texts) {
    Installed() = texts;
}

const ProductTexts& InstalledProductTexts() {
    return Installed();
}
