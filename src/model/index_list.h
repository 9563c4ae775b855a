#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace tarn {

// A list of client indexes as typed: numbers and rising ranges separated by commas
// ("3,5-12"), blanks allowed around them. The indexes in the order given, each once;
// nothing when the text is empty or holds anything else (a reversed range, a sign, a
// letter, a range of more than 1000).
std::optional<std::vector<int>> parseIndexList(std::string_view text);

}  // namespace tarn
