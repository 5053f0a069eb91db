#include "grammar/builders/BuilderHelpers.h"

#include "grammar/CategoryBuilders.h"
#include "grammar/TextRules.h"

namespace lectoria::grammar {

std::string Concat(std::initializer_list<std::string_view> pieces)
{
    std::size_t size = 0;
    for (std::string_view piece : pieces) {
        size += piece.size();
    }
    std::string joined;
    joined.reserve(size);
    for (std::string_view piece : pieces) {
        joined += piece;
    }
    return joined;
}

std::string ComposeRule(std::string_view allOf, std::string_view anyOf, std::string_view noneOf,
                        std::string_view anyAfter, std::string_view erase)
{
    return Concat({allOf, "+", anyOf, "+", noneOf, "+", anyAfter, "+", erase});
}

std::string WithAllReplaced(std::string text, std::string_view from, std::string_view to)
{
    ReplaceAll(text, from, to);
    return text;
}

std::vector<std::string> InstallWordLists(RuleTable& table, int p, std::span<const std::string_view> wordLists)
{
    std::vector<std::string> words(wordLists.begin(), wordLists.end());
    words.resize(static_cast<std::size_t>(ChildCount(table, p)));
    InstallGrandchildRules(table, p, static_cast<int>(words.size()), words);
    return words;
}

} // namespace lectoria::grammar
