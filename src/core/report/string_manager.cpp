#include "core/report/string_manager.h"

#include <algorithm>

namespace tarvik {

int TStringManager::PosFrom(std::string_view subStr, std::string_view s, int offset) const {
    const std::size_t start = static_cast<std::size_t>(std::max(offset, 1));
    if (subStr.empty() || start > s.size())
        return 0;
    const std::size_t found = s.find(subStr, start - 1);
    return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

std::string TStringManager::TextBetween(std::string_view startDelim, std::string_view endDelim,
                                        std::string_view s, int offset) const {
    const int p1 = PosFrom(startDelim, s, offset);
    if (p1 == 0)
        return {};
    const int start = p1 + static_cast<int>(startDelim.size());
    const int p2 = PosFrom(endDelim.empty() ? startDelim : endDelim, s, start);
    if (p2 == 0)
        return CopyRange(s, start, static_cast<int>(s.size()));
    return CopyRange(s, start, p2 - 1);
}

std::string TStringManager::CopyRange(std::string_view s, int from, int to) const {
    from = std::max(from, 1);
    if (to < from || static_cast<std::size_t>(from) > s.size())
        return {};
    return std::string(s.substr(static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(to - from) + 1));
}

std::string TStringManager::CutToken(std::string_view delim, std::string& s, bool skipLeading) const {
    int p = PosFrom(delim, s, 1);
    if (p == 1 && skipLeading) {
        s.erase(0, delim.size());
        p = PosFrom(delim, s, 1);
    }
    if (p == 0) {
        std::string token = std::move(s);
        s.clear();
        return token;
    }
    std::string token = s.substr(0, static_cast<std::size_t>(p) - 1);
    s.erase(0, static_cast<std::size_t>(p) - 1 + delim.size());
    return token;
}

} // namespace tarvik
