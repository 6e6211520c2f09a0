#include <gtest/gtest.h>

#include <optional>

#include "framework/number_text.h"

namespace {

struct DoubleCase {
    const char* text;
    std::optional<double> expected;
};

TEST(NumberText, ParsesDoublesWithTheCLocaleRulesOnly) {
    const DoubleCase cases[] = {
        {"1000", 1000.0},   {" 12.5\t", 12.5},   {"-0.5", -0.5},    {"1e3", 1000.0},
        {"0.0000001", 1e-7}, {"1,5", std::nullopt}, {"12.5 Hz", std::nullopt},
        {"", std::nullopt}, {"   ", std::nullopt}, {"abc", std::nullopt},
        {"inf", std::nullopt}, {"nan", std::nullopt}, {"1e999", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const DoubleCase& c : cases) {
        EXPECT_EQ(ParseDouble(c.text), c.expected) << '"' << c.text << '"';
    }
}

struct IntCase {
    const char* text;
    std::optional<int> expected;
};

TEST(NumberText, ParsesWholeNumbersOnly) {
    const IntCase cases[] = {
        {"50", 50},           {" -20 ", -20},        {"12.5", std::nullopt},
        {"1e2", std::nullopt}, {"", std::nullopt},  {"2147483647", 2147483647},
        {"2147483648", std::nullopt}, {"9 9", std::nullopt},
    };
    for (const IntCase& c : cases) {
        EXPECT_EQ(ParseInt(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(NumberText, ShowsDoublesInShortestFormWithFifteenDigits) {
    EXPECT_EQ(FormatDouble(1000.0), "1000");
    EXPECT_EQ(FormatDouble(0.1), "0.1");
    EXPECT_EQ(FormatDouble(3.0), "3");
    EXPECT_EQ(FormatDouble(-2.5), "-2.5");
    EXPECT_EQ(FormatDouble(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatDouble(1e20), "1e+20");
}

}  // namespace
