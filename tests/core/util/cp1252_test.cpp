#include "core/util/cp1252.h"

#include <gtest/gtest.h>

using namespace tarvik;

TEST(Cp1252, RoundTripsEveryDefinedByte) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
    }
}

TEST(Cp1252, EuroAndUnencodable) {
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20ac");
    EXPECT_EQ(Utf8ToCp1252("\u20ac \u4e2d"), "\x80 ?");
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?"); // truncated sequence
}

TEST(Cp1252, UpperCaseAsTyped) {
    EXPECT_EQ(Cp1252ToUpper(Utf8ToCp1252("ñandú señor")), Utf8ToCp1252("ÑANDÚ SEÑOR"));
    EXPECT_EQ(Cp1252ToUpper(Utf8ToCp1252("ÿšœž")), Utf8ToCp1252("ŸŠŒŽ"));
    EXPECT_EQ(Cp1252ToUpper(Utf8ToCp1252("ßµ÷")), Utf8ToCp1252("ßµ÷"));
}
