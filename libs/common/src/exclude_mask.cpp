#include "twlib/exclude_mask.h"

#include <algorithm>

namespace twlib {
namespace {

std::string Lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    const std::string lowName = Lowered(name);
    const std::string lowMask = Lowered(mask);
    if (lowMask.empty())
        return false;
    if (lowMask.find('*') == std::string::npos)
        return lowName.find(lowMask) != std::string::npos;
    std::size_t start = 0;
    while (start <= lowMask.size()) {
        const std::size_t star = std::min(lowMask.find('*', start), lowMask.size());
        const std::string_view piece(lowMask.data() + start, star - start);
        if (!piece.empty() && lowName.find(piece) != std::string::npos)
            return true;
        start = star + 1;
    }
    return false;
}

bool MatchesAnyMask(std::string_view name, const std::vector<std::string>& masks) {
    return std::any_of(masks.begin(), masks.end(),
                       [&](const std::string& mask) { return MatchesMask(name, mask); });
}

std::vector<std::string> SplitMasks(std::string_view list, char separator) {
    std::vector<std::string> masks;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(separator, start), list.size());
        if (end > start)
            masks.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return masks;
}

} // namespace twlib
