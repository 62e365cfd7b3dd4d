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

TEST(Cp1252, ControlCharactersAreDrawnAsSpacesButLineBreaksStay) {
    const struct {
        std::string texto;
        std::string dibujado;
    } casos[] = {
        {"Technical \x1A"
         "Department",
         "Technical  Department"},
        {std::string("a\0b", 3), "a b"},
        {"a\tb\x1F\x7F", "a b  "},
        {"uno\r\ndos\n", "uno\r\ndos\n"},
        {"\x81\x8D\x8F\x90\x9D", "     "},        // the undefined bytes stand for C1 controls
        {"\x80\x9C\xA0\xFF", "\x80\x9C\xA0\xFF"}, // euro, a quote, NBSP and \xFF are letters
    };
    for (const auto& c : casos)
        EXPECT_EQ(ControlsToSpaces(c.texto), c.dibujado) << c.texto;
}
