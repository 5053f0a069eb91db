#pragma once

#include <string_view>
#include <vector>

namespace lectoria::search {

/// A run of bytes of a shown sentence to colour.
struct TextSpan
{
    std::size_t start = 0;
    std::size_t length = 0;

    bool operator==(const TextSpan&) const = default;
};

/// Where the current-sentence pane colours a sentence for an item's highlight patterns (a '/'-list
/// of expanded patterns): the first place each pattern occurs, compared in lower case; a pattern
/// starting with a digit stands for every digit of the sentence.
std::vector<TextSpan> HighlightSpans(std::string_view text, std::string_view highlights);

} // namespace lectoria::search
