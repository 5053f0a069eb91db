#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "RuleTesting.h"
#include "grammar/CategoryBuilders.h"
#include "grammar/WordListData.h"

using namespace lectoria::grammar;
using lectoria::test::BuiltRuleTable;
using lectoria::test::ExpectTopicCases;
using lectoria::test::TopicCase;

namespace {

struct NamedList
{
    const char* name;
    std::string_view words;
    std::size_t size;
};

const NamedList kWordLists[] = {
    {"PronounSubject", lists::PronounSubject, 7},
    {"PronounObject", lists::PronounObject, 7},
    {"PronounPossessiveDeterminer", lists::PronounPossessiveDeterminer, 7},
    {"PronounPossessive", lists::PronounPossessive, 7},
    {"PronounReflexive", lists::PronounReflexive, 8},
    {"PronounDemonstrative", lists::PronounDemonstrative, 4},
    {"PronounIndefinite", lists::PronounIndefinite, 18},
    {"PronounCompoundIndefinite", lists::PronounCompoundIndefinite, 13},
    {"PronounReciprocal", lists::PronounReciprocal, 2},
    {"PronounInterrogative", lists::PronounInterrogative, 5},
    {"PronounCompoundConnective", lists::PronounCompoundConnective, 5},
    {"NumeralCardinal", lists::NumeralCardinal, 30},
    {"NumeralOrdinal", lists::NumeralOrdinal, 29},
};

TEST(PronounNumeralLists, SizesAsListed)
{
    for (const NamedList& list : kWordLists) {
        EXPECT_EQ(SplitList(list.words, '/').size(), list.size) << list.name;
    }
}

// Every entry ends in one blank; only these few lack the leading one, so they also match the end
// of a longer word.
TEST(PronounNumeralLists, OnlyTheListedEntriesLackTheirLeadingBlank)
{
    std::vector<std::string> unblanked;
    for (const NamedList& list : kWordLists) {
        for (const std::string& entry : SplitList(list.words, '/')) {
            ASSERT_GT(entry.size(), 2u) << list.name;
            EXPECT_TRUE(entry.back() == ' ' && entry[entry.size() - 2] != ' ') << '"' << entry << '"';
            if (entry.front() != ' ') {
                unblanked.push_back(entry);
            } else {
                EXPECT_NE(entry[1], ' ') << '"' << entry << '"';
            }
        }
    }
    EXPECT_EQ(unblanked, (std::vector<std::string>{"yourselves ", "whoever ", "whomever ", "whosever ", "whichever ",
                                                   "whatever ", "sixteenth "}));
}

TEST(PronounNumeralLists, DigitTopicsHaveNoGrandchildren)
{
    const RuleTable& table = BuiltRuleTable();
    for (int c = 3; c < ChildCount(table, kParentNumerals); ++c) {
        EXPECT_EQ(FillGrandchildCombo(table, kParentNumerals, c, "").names, std::vector<std::string>{"所有"}) << c;
    }
    const GrandchildCombo ordinals = FillGrandchildCombo(table, kParentNumerals, 2, "sixteenth");
    ASSERT_EQ(ordinals.names.size(), 30u);
    EXPECT_EQ(ordinals.names[static_cast<std::size_t>(ordinals.selected)], "sixteenth");
}

TEST(PronounTopics, EachChildTestsItsOwnList)
{
    const TopicCase cases[] = {
        {"代词+主格人称代词+i", "I think so.", true, " i /"},
        {"代词+主格人称代词+i", "It is mine.", false},
        {"代词+主格人称代词", "She is here.", true, " she /"},
        {"代词+宾格人称代词+her", "I saw her.", true, " her /"},
        {"代词+形容词性物主代词+her", "I saw her.", true, " her /"},
        {"代词+反身代词+yourselves", "Help yourselves.", true, "yourselves /"},
        {"代词+不定代词+所有", "None of them came.", true, " none /"},
        {"代词+复合不定代词+none", "None of them came.", true, " none /"},
        {"代词+相互代词+each other", "They help each other.", true, " each other /"},
        {"代词+相互代词+所有", "Each of the others.", false},
        {"代词+疑问代词和连接代词+whose", "Whose book is this?", true, " whose /"},
        {"代词+复合连接代词+whoever", "Whoever comes is welcome.", true, "whoever /"},
        {"代词+复合连接代词+所有", "Take whatever you like.", true, "whatever /"},
    };
    ExpectTopicCases(cases);
}

TEST(ArticleTopics, ArticlesAndTheBeforeAVowel)
{
    const TopicCase cases[] = {
        {"冠词+所有", "An apple.", true, " an /"},
        {"冠词+所有", "Banana split.", false},
        {"冠词+an", "An apple.", true, " an /"},
        {"冠词+a", "An apple.", false},
        {"冠词+the+an", "The cat.", true, " the /"},
        {"冠词+the原音音标", "The apple is red.", true, " the a/"},
        {"冠词+the原音音标", "The old man.", true, "the o/"},
        {"冠词+the原音音标", "We bathe often.", true, "the o/"},
        {"冠词+the原音音标", "The umbrella.", false},
        {"冠词+the原音音标", "The old man and the one dog.", false},
        {"冠词+the原音音标", "The apple is the only one.", false},
    };
    ExpectTopicCases(cases);
}

TEST(NumeralTopics, WordsDigitsPricesAndWeights)
{
    const TopicCase cases[] = {
        {"数词+所有+所有", "Nothing to count.", true, ""},
        {"数词+基数词+所有", "Twenty men.", true, " twenty /"},
        {"数词+基数词+所有", "Fifty men.", false},
        {"数词+序数词+sixteenth", "On the sixteenth day.", true, "sixteenth /"},
        {"数词+序数词+所有", "On the eighteenth day.", false},
        {"数词+阿拉伯数字", "I have 3 books.", true, "3/"},
        {"数词+阿拉伯数字", "Lesson 3", false},
        {"数词+课文标题", "Lesson 3", true, "lesson /3/"},
        {"数词+课文标题", "Lessons 12", false},
        {"数词+带$价格", "It costs $5.", true, "$/5/"},
        {"数词+带$价格", "It costs 5 dollars.", false},
        {"数词+重量", "It weighs 5 pounds.", true, " pound/5/"},
        {"数词+重量", "It weighs 5 kilos.", false},
    };
    ExpectTopicCases(cases);
}

} // namespace
