#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RuleTesting.h"
#include "grammar/CategoryBuilders.h"

using namespace lectoria::grammar;
using lectoria::test::BuiltRuleTable;
using lectoria::test::ExpectTopicCases;
using lectoria::test::TopicCase;

namespace {

constexpr int kVoiceCount = 17;

std::vector<int> PassingVoices(const char* sentence)
{
    return lectoria::test::PassingChildren(kParentVoice, kVoiceCount, sentence);
}

TEST(PassiveRules, FieldSizesAfterSplitting)
{
    // allOf, anyOf, noneOf, anyAfter, erase; an empty field is one empty entry.
    const std::array<std::array<std::size_t, 5>, kVoiceCount> sizes = {{
        {1, 4, 23, 443, 123},
        {1, 8, 19, 443, 123},
        {1, 3, 1, 443, 123},
        {1, 4, 1, 443, 123},
        {1, 4, 1, 443, 123},
        {1, 6, 1, 443, 123},
        {2, 3, 1, 443, 123},
        {2, 3, 1, 443, 123},
        {1, 1, 1, 443, 123},
        {1, 3, 1, 443, 123},
        {1, 3, 1, 443, 123},
        {1, 2, 1, 443, 123},
        {1, 1, 1, 443, 123},
        {1, 1, 1, 443, 123},
        {1, 1, 1, 443, 123},
        {1, 1, 1, 443, 123},
        {1, 12, 1, 74, 1},
    }};
    for (int k = 1; k <= kVoiceCount; ++k) {
        const std::string rule = SelectedRuleString(BuiltRuleTable(), lectoria::test::ChildSelection(kParentVoice, k));
        ASSERT_EQ(SplitList(rule, '+').size(), 5u) << k;
        const TopicRule parsed = ParseTopicRule(rule);
        const std::array<std::size_t, 5> actual = {parsed.allOf.size(), parsed.anyOf.size(), parsed.noneOf.size(),
                                                   parsed.anyAfter.size(), parsed.erase.size()};
        EXPECT_EQ(actual, sizes[static_cast<std::size_t>(k - 1)]) << "voice topic " << k;
    }
}

TEST(PassiveRules, OddEntries)
{
    const RuleTable& table = BuiltRuleTable();
    EXPECT_EQ(SelectRule(table, lectoria::test::ChildSelection(kParentVoice, 1)).noneOf.back(), ", ");
    EXPECT_EQ(SelectRule(table, lectoria::test::ChildSelection(kParentVoice, 2)).noneOf.front(), "was ");
    EXPECT_EQ(SelectRule(table, lectoria::test::ChildSelection(kParentVoice, 5)).anyOf.back(), " wheren't ");
    EXPECT_EQ(SelectRule(table, lectoria::test::ChildSelection(kParentVoice, 8)).anyOf.back(), "'ll ");
    // The perfect progressive passives share one rule.
    for (int k = 14; k <= 16; ++k) {
        EXPECT_EQ(SelectedRuleString(table, lectoria::test::ChildSelection(kParentVoice, k)),
                  SelectedRuleString(table, lectoria::test::ChildSelection(kParentVoice, 13)))
            << k;
    }
    // The adjectives lose their trailing blank, and "sacred " with it its only blank.
    const std::vector<std::string> stems = SelectRule(table, lectoria::test::ChildSelection(kParentVoice, 17)).anyAfter;
    EXPECT_TRUE(std::none_of(stems.begin(), stems.end(), [](const std::string& s) { return s.ends_with(' '); }));
    EXPECT_NE(std::find(stems.begin(), stems.end(), "sacred"), stems.end());
    EXPECT_NE(std::find(stems.begin(), stems.end(), " advanced"), stems.end());
}

TEST(PassiveRules, OnlyTheVoiceChildrenChange)
{
    const RuleTable& table = BuiltRuleTable();
    EXPECT_EQ(table.ChildRules[kParentVoice].size(), 18u);
    EXPECT_EQ(table.ChildRules[kParentVoice][0], "++++");
}

struct VoiceSet
{
    const char* sentence;
    std::vector<int> voices;
};

TEST(PassiveRules, SentencesPassExactlyTheirVoiceTopics)
{
    const VoiceSet cases[] = {
        // " have " is also an auxiliary of the present perfect passive.
        {"The letter will have been written.", {10, 11}},
        {"The letter would have been written.", {10, 12}},
        {"The letters have been being written.", {10, 13, 14, 15, 16}},
        {"He was seen there.", {}},
        {"The window was broken, and we left.", {}},
        {"It was built that year.", {}},
        {"The room was cleaned when I came.", {}},
        // "done" is no participle of the list and does not end in "ed".
        {"The work will be done soon.", {}},
        // Erasing "shed" leaves "puni".
        {"He would be punished.", {}},
        {"I am interested in music.", {17}},
        {"She is excited about it.", {17}},
        {"She was tired, so she slept.", {17}},
    };
    for (const VoiceSet& c : cases) {
        EXPECT_EQ(PassingVoices(c.sentence), c.voices) << c.sentence;
    }
}

TEST(PassiveRules, SingleTopicVerdicts)
{
    const TopicCase cases[] = {
        {"语态+过去一般时被动语态", "The letter was written by Tom.", true, " was / written "},
        {"语态+过去一般时被动语态", "He was killed.", true, " was /ed "},
        {"语态+现在一般时被动语态", "English is spoken here.", true, " is / spoken "},
        {"语态+现在一般时被动语态", "The car is repaired.", true, " is /ed "},
        {"语态+现在一般时被动语态", "It's made in China.", true, "'s / made "},
        {"语态+将来一般时被动语态", "The letter will be written tomorrow.", true, " be / will / written "},
        {"语态+过去将来一般时被动语态", "The letter would be written.", true, " be / would / written "},
        {"语态+过去进行时被动语态", "The house was being built.", true, " being / was / built "},
        {"语态+现在进行时被动语态", "The house is being built.", true, " being / is / built "},
        {"语态+将来进行时被动语态", "The letter will be being written.", true, " being / will / written "},
        {"语态+过去完成时被动语态", "The bridge had been built.", true, " been / had / built "},
        {"语态+现在完成时被动语态", "The room has been cleaned.", true, " been / has /ed "},
        // The first "ed " word decides the participle's position, even with "sold" after "were".
        {"语态+过去一般时被动语态", "Painted doors were sold.", false},
        {"语态+过去一般时被动语态", "Doors were sold.", true, " were / sold "},
        {"语态+现在一般时被动语态", "English is spoken here, I think.", false},
        {"语态+过去进行时被动语态", "The house wasn't being built.", true, " being / wasn't / built "},
        {"语态+过去进行时被动语态", "The houses weren't being built.", false},
        {"语态+现在进行时被动语态", "They are being watched.", true, " being / are /ed "},
        {"语态+形式上的被动语态", "They were massacred.", true, " were /sacred"},
        {"语态+所有", "No verb here.", true, ""},
    };
    ExpectTopicCases(cases);
}

} // namespace
