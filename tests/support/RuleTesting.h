#pragma once

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

namespace lectoria::test {

/// The rule table as the topic search builds it, built once per test program.
inline const grammar::RuleTable& BuiltRuleTable()
{
    static const grammar::RuleTable table = [] {
        grammar::RuleTable built;
        grammar::BuildRuleTable(built);
        return built;
    }();
    return table;
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

} // namespace lectoria::test
