#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

namespace lectoria::test {

/// The rule table as the topic search builds it, built once per test program.
inline const grammar::RuleTable& BuiltRuleTable()
{
    return lectoria::grammar::BuiltInRuleTable();
}

/// The entries of a '/'-list.
inline std::vector<std::string> Entries(std::string_view list)
{
    return grammar::SplitList(list, '/');
}

/// Whether a sentence, as written, passes the rule of a topic selection.
inline bool Passes(std::string_view selection, std::string_view sentence)
{
    return grammar::MatchRule(grammar::SelectRule(BuiltRuleTable(), selection), grammar::ToLowerAscii(sentence))
        .verdict;
}

/// The selection string of child k of parent p ("时态+现在完成时").
inline std::string ChildSelection(int p, int k)
{
    const grammar::RuleTable& table = BuiltRuleTable();
    const std::vector<std::string> parents = grammar::SplitList(table.ParentTopicList, '/');
    const std::vector<std::string> children =
        grammar::SplitList(table.ChildTopicLists.at(static_cast<std::size_t>(p)), '/');
    return parents.at(static_cast<std::size_t>(p)) + "+" + children.at(static_cast<std::size_t>(k));
}

/// The children 1 to `last` of parent p whose rules the sentence passes.
inline std::vector<int> PassingChildren(int p, int last, std::string_view sentence)
{
    std::vector<int> passing;
    for (int k = 1; k <= last; ++k) {
        if (Passes(ChildSelection(p, k), sentence)) {
            passing.push_back(k);
        }
    }
    return passing;
}

/// One row of a rule test: a topic selection, a sentence as written, the verdict and, when not
/// null, the matched words.
struct TopicCase
{
    const char* selection;
    const char* sentence;
    bool verdict;
    const char* matchedWords = nullptr;
};

inline std::ostream& operator<<(std::ostream& out, const TopicCase& c)
{
    return out << c.selection << " on \"" << c.sentence << '"';
}

/// Matches the sentence as the topic search does: lower-cased, against the selected rule.
inline void ExpectTopicCase(const TopicCase& c)
{
    const grammar::TopicRule rule = grammar::SelectRule(BuiltRuleTable(), c.selection);
    const grammar::MatchResult result = grammar::MatchRule(rule, grammar::ToLowerAscii(c.sentence));
    EXPECT_EQ(result.verdict, c.verdict) << c;
    if (c.matchedWords != nullptr) {
        EXPECT_EQ(result.matchedWords, c.matchedWords) << c;
    }
}

/// Runs every row of a case table.
template <std::size_t N> void ExpectTopicCases(const TopicCase (&cases)[N])
{
    for (const TopicCase& c : cases) {
        ExpectTopicCase(c);
    }
}

} // namespace lectoria::test
