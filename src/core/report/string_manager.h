#pragma once
// Finding and cutting pieces of 8-bit text. Positions are 1-based; 0 means "not found".
// Comparisons are exact byte comparisons.

#include <string>
#include <string_view>

namespace tarvik {

class TStringManager {
  public:
    // Position in `s` of the first occurrence of `subStr` that starts at or after `offset` (an offset
    // below 1 counts as 1); 0 when there is none, when `subStr` is empty or `offset` lies past the end.
    int PosFrom(std::string_view subStr, std::string_view s, int offset) const;
    // The text between the first `startDelim` at or after `offset` and the next `endDelim` after it
    // (an empty `endDelim` means `startDelim` again). Without an end delimiter, the rest of `s`;
    // without a start delimiter, an empty text.
    std::string TextBetween(std::string_view startDelim, std::string_view endDelim, std::string_view s,
                            int offset) const;
    // The characters of `s` from position `from` to position `to`, both included, cut at the end.
    std::string CopyRange(std::string_view s, int from, int to) const;
    // The text before the first `delim` in `s`; `s` loses that token and the delimiter. With
    // `skipLeading`, one delimiter at the very front is dropped first. Without a delimiter the whole
    // of `s` is the token and `s` becomes empty.
    std::string CutToken(std::string_view delim, std::string& s, bool skipLeading) const;
};

// The one shared instance, alive from start-up to exit.
inline constexpr TStringManager StringManager{};

} // namespace tarvik
