#include "model/index_list.h"

#include <algorithm>
#include <charconv>

namespace tarn {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<int> number(std::string_view text) {
    text = trimmed(text);
    int value = 0;
    if (text.empty() || text.size() > 6) return std::nullopt;  // no index has more digits
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::vector<int>> parseIndexList(std::string_view text) {
    constexpr int kLongestRange = 1000;  // a database's clients
    std::vector<int> indexes;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        const std::optional<int> first = number(item.substr(0, dash));
        const std::optional<int> last =
            dash == std::string_view::npos ? first : number(item.substr(dash + 1));
        if (!first || !last || *last < *first || *last - *first >= kLongestRange)
            return std::nullopt;
        for (int i = *first; i <= *last; ++i)
            if (std::find(indexes.begin(), indexes.end(), i) == indexes.end()) indexes.push_back(i);
        if (comma == std::string_view::npos) return indexes;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace tarn
