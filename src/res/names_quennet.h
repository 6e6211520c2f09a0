#pragma once

#include "res/product_texts.h"

const ProductTexts& QuennetNames();
