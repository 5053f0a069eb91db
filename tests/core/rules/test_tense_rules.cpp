#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "RuleTesting.h"
#include "grammar/CategoryBuilders.h"

using namespace lectoria::grammar;
using lectoria::test::BuiltRuleTable;
using lectoria::test::ExpectTopicCases;
using lectoria::test::TopicCase;

namespace {

constexpr int kTenseCount = 16;

std::vector<int> PassingTenses(const char* sentence)
{
    return lectoria::test::PassingChildren(kParentTenses, kTenseCount, sentence);
}

TEST(TenseRules, FieldSizesAfterSplitting)
{
    // allOf, anyOf, noneOf, anyAfter, erase; an empty field is one empty entry.
    const std::array<std::array<std::size_t, 5>, kTenseCount> sizes = {{
        {1, 1, 30, 415, 123},
        {1, 1, 880, 2044, 123},
        {1, 3, 877, 2044, 123},
        {1, 2, 878, 2044, 123},
        {1, 4, 870, 1, 35},
        {1, 6, 870, 1, 35},
        {1, 3, 2, 1, 35},
        {1, 2, 1, 1, 35},
        {1, 2, 24, 443, 123},
        {1, 6, 18, 444, 123},
        {1, 6, 1, 444, 3},
        {1, 6, 1, 444, 3},
        {1, 2, 443, 1, 123},
        {1, 6, 443, 1, 123},
        {1, 7, 443, 1, 123},
        {1, 4, 443, 1, 123},
    }};
    for (int k = 1; k <= kTenseCount; ++k) {
        const std::string rule = SelectedRuleString(BuiltRuleTable(), lectoria::test::ChildSelection(kParentTenses, k));
        ASSERT_EQ(SplitList(rule, '+').size(), 5u) << k;
        const TopicRule parsed = ParseTopicRule(rule);
        const std::array<std::size_t, 5> actual = {parsed.allOf.size(), parsed.anyOf.size(), parsed.noneOf.size(),
                                                   parsed.anyAfter.size(), parsed.erase.size()};
        EXPECT_EQ(actual, sizes[static_cast<std::size_t>(k - 1)]) << "tense " << k;
    }
}

TEST(TenseRules, OddEntriesAndEraseOrder)
{
    const RuleTable& table = BuiltRuleTable();
    const TopicRule present = SelectRule(table, lectoria::test::ChildSelection(kParentTenses, 2));
    EXPECT_EQ(present.noneOf[18], "ed");
    const TopicRule pastProgressive = SelectRule(table, lectoria::test::ChildSelection(kParentTenses, 5));
    EXPECT_EQ(pastProgressive.noneOf[4], "'ve ");
    EXPECT_EQ(pastProgressive.noneOf[7], "'ve ");
    EXPECT_EQ(pastProgressive.noneOf[11], " going to");
    EXPECT_EQ(SelectRule(table, lectoria::test::ChildSelection(kParentTenses, 7)).noneOf,
              (std::vector<std::string>{"", "ed "}));

    // The perfect progressives erase the -ing look-alikes first, the other tenses that erase both lists
    // the -ed ones.
    const std::string firstEdRemoval = SplitList(BuildVerbForms().EdRemovals, '/').front();
    for (int k : {1, 2, 3, 4, 9, 10}) {
        EXPECT_EQ(SelectRule(table, lectoria::test::ChildSelection(kParentTenses, k)).erase.front(), firstEdRemoval)
            << k;
    }
    for (int k : {13, 14, 15, 16}) {
        EXPECT_EQ(SelectRule(table, lectoria::test::ChildSelection(kParentTenses, k)).erase.front(), "spring ") << k;
    }
}

TEST(TenseRules, OnlyTheTensesChildrenChange)
{
    const RuleTable& table = BuiltRuleTable();
    EXPECT_EQ(table.ChildRules[kParentTenses].size(), 17u);
    EXPECT_EQ(table.ChildRules[kParentTenses][0], "++++");
    EXPECT_TRUE(MatchRule(SelectRule(table, "时态+所有"), "").verdict);
}

struct TenseSet
{
    const char* sentence;
    std::vector<int> tenses;
};

TEST(TenseRules, SentencesPassExactlyTheirTenses)
{
    const TenseSet cases[] = {
        {"He worked hard.", {1}},
        {"He works hard.", {2}},
        {"He will come tomorrow.", {3}},
        {"He would come.", {4}},
        {"I was reading a book.", {5}},
        {"She will be sleeping.", {7}},
        {"He would be working.", {8}},
        {"They had been working.", {13}},
        {"I have been waiting for an hour.", {14}},
        // "'ll" is split off by normalisation, so only " have " is left to recognise the tense.
        {"We'll have been working.", {14}},
        // The first base verb in list order, "ask", stands before "will".
        {"Ask him and he will come.", {}},
        // Erasing "shed" leaves "fini", so no word ends in "ed".
        {"He had finished the work.", {}},
        {"She has finished her homework.", {}},
        {"It is exciting.", {}},
        {"He's gone.", {}},
        {"The cat's tail moved.", {}},
        {"Everything was fine.", {}},
        {"He was finished.", {}},
        {"I had to go.", {}},
        {"She'll be sleeping.", {}},
        {"I am going together with him.", {}},
        {"Yes, of course.", {}},
    };
    for (const TenseSet& c : cases) {
        EXPECT_EQ(PassingTenses(c.sentence), c.tenses) << c.sentence;
    }
}

TEST(TenseRules, SingleTopicVerdicts)
{
    const TopicCase cases[] = {
        {"时态+现在完成时", "He has had a cold.", true, " has / had "},
        {"时态+过去完成时", "He had seen it.", true, " had / seen "},
        {"时态+将来完成时", "They will have finished it by then.", true, " will have /ed "},
        {"时态+将来完成时", "We will have to leave.", false},
        {"时态+将来一般时", "We will have to leave.", false},
        {"时态+将来一般时", "He will not come.", true, "will / come "},
        {"时态+将来一般时", "Ask him and he will come.", false, "will / ask "},
        {"时态+过去一般时", "I saw nothing interesting.", true, " saw "},
        {"时态+过去一般时", "He happened to see it.", false},
        {"时态+现在一般时", "He needs water.", false},
        {"时态+过去进行时", "Smiling, he was waving.", false},
        {"时态+将来完成进行时", "They won't have been waiting long.", true, " been / won't have /ing "},
        {"时态+过去将来完成时", "He wouldn't have known.", true, " wouldn't have / known "},
        {"时态+过去将来完成进行时", "They wouldn't have been waiting.", false},
        {"时态+所有", "No verb here.", true, ""},
    };
    ExpectTopicCases(cases);
}

} // namespace
