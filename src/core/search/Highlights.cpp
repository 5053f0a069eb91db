#include "search/Highlights.h"

#include <string>

#include "grammar/TextRules.h"

namespace lectoria::search {

std::vector<TextSpan> HighlightSpans(std::string_view text, std::string_view highlights)
{
    std::vector<TextSpan> spans;
    if (highlights.empty()) {
        return spans;
    }
    const std::string lower = grammar::ToLowerAscii(text);
    for (const std::string& entry : grammar::SplitList(highlights, '/')) {
        if (entry.empty()) {
            continue;
        }
        if (entry[0] >= '0' && entry[0] <= '9') {
            for (std::size_t i = 0; i < text.size(); ++i) {
                if (text[i] >= '0' && text[i] <= '9') {
                    spans.push_back(TextSpan{i, 1});
                }
            }
            continue;
        }
        const std::size_t at = lower.find(entry);
        if (at != std::string::npos) {
            spans.push_back(TextSpan{at, entry.size()});
        }
    }
    return spans;
}

} // namespace lectoria::search
