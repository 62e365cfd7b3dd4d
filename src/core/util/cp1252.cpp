#include "core/util/cp1252.h"

#include <array>
#include <cstdint>

namespace tarvik {
namespace {

// Code points of bytes 0x80..0x9F; the undefined positions keep their own value.
constexpr std::array<char32_t, 32> kAlto = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char toByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kAlto.size(); ++i)
        if (kAlto[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            appendUtf8(out, kAlto[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t c = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            c = b & 0x07;
        } else {
            out += '?';
            ++i;
            continue;
        }
        bool valid = i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto n = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((n & 0xC0) != 0x80)
                valid = false;
            else
                c = (c << 6) | (n & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += toByte(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool littleEndian) {
    std::string out;
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(littleEndian ? (b << 8) | a : (a << 8) | b);
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? U'?' : u);
    }
    return out;
}

std::string Cp1252ToUpper(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 'a' && b <= 'z')
            ch = static_cast<char>(b - 32);
        else if (b == 0x9A || b == 0x9C || b == 0x9E) // š œ ž
            ch = static_cast<char>(b - 16);
        else if (b == 0xFF) // ÿ
            ch = static_cast<char>(0x9F);
        else if (b >= 0xE0 && b <= 0xFE && b != 0xF7) // à..þ except ÷
            ch = static_cast<char>(b - 32);
    }
    return out;
}

std::string ControlsToSpaces(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        const bool control = (c < 0x20 && c != '\r' && c != '\n') || c == 0x7F ||
                             (c >= 0x80 && c <= 0x9F && kAlto[c - 0x80] == c);
        if (control)
            ch = ' ';
    }
    return out;
}

std::string TruncateBytes(std::string_view text, std::size_t capacity) {
    return std::string(text.substr(0, capacity));
}

} // namespace tarvik
