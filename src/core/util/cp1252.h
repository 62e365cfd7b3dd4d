#pragma once
// Texts in records are Windows-1252 bytes; these convert at the edges and upper-case as typed.

#include <string>
#include <string_view>

namespace tarvik {

// Windows-1252 bytes to UTF-8. The five undefined bytes map to the C1 code points of the same value.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252. Characters that the code page cannot hold, and malformed sequences,
// become '?'.
std::string Utf8ToCp1252(std::string_view text);

// UTF-16 text (after its byte-order mark) to UTF-8; an unpaired surrogate becomes '?'.
std::string Utf16ToUtf8(std::string_view bytes, bool littleEndian);

// Upper case of one Windows-1252 text, letter by letter (á→Á, ñ→Ñ, ÿ→Ÿ, š→Š, œ→Œ, ž→Ž; ß and µ stay).
std::string Cp1252ToUpper(std::string_view text);

// The text as it is drawn: every control character (C0, DEL and the undefined bytes that stand
// for C1 controls) but the line breaks CR and LF becomes a space, so that a stored 0x1A shows as a
// gap and never as a replacement box.
std::string ControlsToSpaces(std::string_view text);

// Cuts a text to at most `capacity` bytes.
std::string TruncateBytes(std::string_view text, std::size_t capacity);

} // namespace tarvik
