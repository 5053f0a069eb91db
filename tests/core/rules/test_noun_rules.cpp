#include <algorithm>
#include <cctype>
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

// In child order, starting at child 1.
const NamedList kNounLists[] = {
    {"NounCountableModifiers", lists::NounCountableModifiers, 11},
    {"NounUncountableModifiers", lists::NounUncountableModifiers, 6},
    {"NounMixedModifiers", lists::NounMixedModifiers, 7},
    {"NounPluralsO", lists::NounPluralsO, 30},
    {"NounPluralsF", lists::NounPluralsF, 22},
    {"NounPluralOnly", lists::NounPluralOnly, 14},
    {"NounSameInBothNumbers", lists::NounSameInBothNumbers, 11},
    {"NounPluralFormSingularSense", lists::NounPluralFormSingularSense, 5},
    {"NounSuffixAge", lists::NounSuffixAge, 30},
    {"NounSuffixAn", lists::NounSuffixAn, 36},
    {"NounSuffixAnce", lists::NounSuffixAnce, 22},
    {"NounSuffixDom", lists::NounSuffixDom, 4},
    {"NounSuffixEnce", lists::NounSuffixEnce, 24},
    {"NounSuffixEr", lists::NounSuffixEr, 218},
    {"NounSuffixEse", lists::NounSuffixEse, 3},
    {"NounSuffixHood", lists::NounSuffixHood, 5},
    {"NounSuffixIng", lists::NounSuffixIng, 70},
    {"NounSuffixIst", lists::NounSuffixIst, 23},
    {"NounSuffixIty", lists::NounSuffixIty, 38},
    {"NounSuffixMan", lists::NounSuffixMan, 24},
    {"NounSuffixMent", lists::NounSuffixMent, 50},
    {"NounSuffixNess", lists::NounSuffixNess, 19},
    {"NounSuffixOr", lists::NounSuffixOr, 39},
    {"NounSuffixRess", lists::NounSuffixRess, 6},
    {"NounSuffixShip", lists::NounSuffixShip, 15},
    {"NounSuffixSion", lists::NounSuffixSion, 23},
    {"NounSuffixSure", lists::NounSuffixSure, 5},
    {"NounSuffixTh", lists::NounSuffixTh, 25},
    {"NounSuffixTion", lists::NounSuffixTion, 129},
    {"NounSuffixTure", lists::NounSuffixTure, 18},
};

constexpr int kFirstSuffixChild = 9;

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

bool HasCapital(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isupper(c) != 0; });
}

TEST(NounLists, SizesAsListed)
{
    for (const NamedList& list : kNounLists) {
        EXPECT_EQ(SplitList(list.words, '/').size(), list.size) << list.name;
    }
}

// A lost blank would turn a whole-word test into a prefix or suffix test.
TEST(NounLists, EveryEntryHasOneBlankOnEachSide)
{
    for (const NamedList& list : kNounLists) {
        for (const std::string& entry : SplitList(list.words, '/')) {
            ASSERT_GT(entry.size(), 2u) << list.name;
            EXPECT_TRUE(entry.front() == ' ' && entry[1] != ' ' && entry.back() == ' ' &&
                        entry[entry.size() - 2] != ' ')
                << list.name << ": \"" << entry << '"';
        }
    }
}

TEST(NounLists, CapitalisedEntriesAreExactlyTheListedOnes)
{
    std::vector<std::string> capitalised;
    for (const NamedList& list : kNounLists) {
        for (const std::string& entry : SplitList(list.words, '/')) {
            if (HasCapital(entry)) {
                capitalised.push_back(entry);
            }
        }
    }
    // In child order, then list order.
    const std::vector<std::string> expected = {
        " the United States ",
        " the United Kingdoms ",
        " the United Nations ",
        " France ",
        " December ",
        " November ",
        " October ",
        " Prime Minister ",
        " September ",
        " Perth ",
        " Portsmouth ",
        " Devotion ",
        " Inquisition ",
    };
    EXPECT_EQ(capitalised, expected);
}

TEST(NounLists, OddEntriesStayAsListed)
{
    const struct
    {
        std::string_view list;
        const char* entry;
    } oddities[] = {
        {lists::NounMixedModifiers, " quantites of "},
        {lists::NounPluralsF, " wifves "},
        {lists::NounPluralsF, " youselves "},
        {lists::NounPluralsF, " handkerchieves "},
        {lists::NounPluralsF, " wildlives "},
        {lists::NounSuffixAn, " clectrician "},
        {lists::NounSuffixAnce, " correspondance "},
        {lists::NounSuffixOr, " reserior "},
        {lists::NounSuffixOr, " taxcollector "},
        {lists::NounSuffixTion, " devotion "},
        {lists::NounSuffixAn, " roman "},
        {lists::NounSuffixMan, " roman "},
        {lists::NounSameInBothNumbers, " chinese "},
        {lists::NounSuffixEse, " chinese "},
        {lists::NounCountableModifiers, " many a "},
        {lists::NounSuffixMan, " fossil man "},
        {lists::NounSuffixMent, " train compartment "},
    };
    for (const auto& odd : oddities) {
        const std::vector<std::string> entries = SplitList(odd.list, '/');
        EXPECT_NE(std::find(entries.begin(), entries.end(), odd.entry), entries.end()) << odd.entry;
    }
}

// The four long suffix lists are supplied words around fixed first and last entries.
TEST(NounLists, SuppliedSuffixListsAreAlphabeticalAroundTheirFixedEnds)
{
    const struct
    {
        std::string_view words;
        const char* suffix;
        const char* first;
        const char* last;
    } suppliedLists[] = {
        {lists::NounSuffixEr, "er",
         " advertiser / anger / announcer / astronomer / baby-sitter / backwater / baker / banker / beaver / "
         "beekeeper / beer / best-seller /",
         "/ woodcutter / worker / writer "},
        {lists::NounSuffixIng, "ing",
         " ageing / bearing / beginning / being / belonging / boating / boring / boxing / building / ceiling / "
         "clothing / conjuring /",
         "/ wedding / wing / wrestling "},
        {lists::NounSuffixMent, "ment",
         " abatement / accompaniment / accomplishment / achievement / adjustment / advertisement / agreement / "
         "amusement / announcement / appointment / argument / armament /",
         "/ statement / train compartment / treatment "},
        {lists::NounSuffixTion, "tion",
         " accommodation / accusation / acquisition / action / addition / allegation / ambition / application / "
         "appreciation / association / assumption / attention /",
         "/ ventilation / vibration / workstation "},
    };
    for (const auto& list : suppliedLists) {
        EXPECT_TRUE(list.words.starts_with(list.first)) << list.suffix;
        EXPECT_TRUE(list.words.ends_with(list.last)) << list.suffix;
        const std::vector<std::string> entries = SplitList(list.words, '/');
        for (std::size_t k = 0; k < entries.size(); ++k) {
            EXPECT_TRUE(TrimOneBlank(Lower(entries[k])).ends_with(list.suffix)) << entries[k];
            if (k > 0) {
                EXPECT_LE(Lower(entries[k - 1]), Lower(entries[k])) << entries[k];
                EXPECT_NE(entries[k - 1], entries[k]);
            }
        }
    }
}

TEST(NounRules, ComposedRuleStrings)
{
    const struct
    {
        const char* selection;
        const char* rule;
    } cases[] = {
        {"名词+可数名词修饰语+number", " a + number ++ of +"},
        {"名词+不可数名词修饰语+amount", " a + amount ++ of +"},
        {"名词+不可数名词修饰语+little", "+ little +++"},
        {"名词+dom后缀", "+ boredom / freedom / kingdom / wisdom / boredoms / freedoms / kingdoms / wisdoms +++"},
        {"名词+ness后缀+business", "+ business / businesses +++"},
        {"名词+man后缀+fossil man", "+ fossil man / fossil men +++"},
        {"名词+o后缀名词数的变化+potatoes", "+ potatoes +++"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SelectedRuleString(BuiltRuleTable(), c.selection), c.rule) << c.selection;
    }
}

// Grandchild k+1 must test entry k and its plural, and grandchild 0 every entry and then every
// plural, so a name picked in the grandchild box always selects its own word.
TEST(NounRules, SuffixClassGrandchildrenLineUpWithTheirWords)
{
    const RuleTable& table = BuiltRuleTable();
    ASSERT_EQ(static_cast<std::size_t>(ChildCount(table, kParentNouns)), std::size(kNounLists) + 1);
    for (int c = kFirstSuffixChild; c < ChildCount(table, kParentNouns); ++c) {
        const std::vector<std::string> entries = SplitList(kNounLists[c - 1].words, '/');
        const std::vector<std::string>& rules = table.GrandchildRules[kParentNouns][static_cast<std::size_t>(c)];
        ASSERT_EQ(rules.size(), entries.size() + 1) << c;
        const TopicRule all = ParseTopicRule(rules[0]);
        ASSERT_EQ(all.anyOf.size(), 2 * entries.size()) << c;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const TopicRule one = ParseTopicRule(rules[k + 1]);
            ASSERT_EQ(one.anyOf.size(), 2u) << rules[k + 1];
            EXPECT_EQ(one.anyOf[0], entries[k]);
            EXPECT_EQ(all.anyOf[k], entries[k]);
            EXPECT_EQ(all.anyOf[entries.size() + k], one.anyOf[1]);
        }
    }
}

TEST(NounTopics, ModifiersOfCountAndAmount)
{
    const TopicCase cases[] = {
        {"名词+所有+所有", "No condition at all.", true, ""},
        {"名词+可数名词修饰语+number", "A number of books were lost.", true, " a / number / of "},
        {"名词+可数名词修饰语+number", "The number of books is small.", false},
        {"名词+可数名词修饰语+number", "Of a number, pick one.", false},
        {"名词+可数名词修饰语+所有", "The number is small.", true, " number /"},
        {"名词+不可数名词修饰语+bit", "Take a bit of cake.", true, " a / bit / of "},
        {"名词+不可数名词修饰语+bit", "Wait a bit.", false},
        {"名词+可数及不可数名词修饰语+所有", "A lot of rice.", true, " a lot of /"},
        {"名词+可数及不可数名词修饰语+quantites of", "Large quantities of rice.", false},
    };
    ExpectTopicCases(cases);
}

TEST(NounTopics, FixedFormLists)
{
    const TopicCase cases[] = {
        {"名词+o后缀名词数的变化+potatoes", "Two potatoes.", true, " potatoes /"},
        {"名词+f或fe后缀名词数的变化+所有", "The wolves ran.", true, " wolves /"},
        {"名词+复数形式单数概念+news", "No news is good news.", true, " news /"},
        {"名词+复数形式单数概念+the United States", "The United States is large.", false},
        {"名词+单复同形+chinese", "The Chinese arrived.", true},
        {"名词+ese后缀+chinese", "The Chinese arrived.", true},
    };
    ExpectTopicCases(cases);
}

TEST(NounTopics, SuffixClassesFindRegularPlurals)
{
    const TopicCase cases[] = {
        {"名词+age后缀+village", "Two villages.", true, " villages /"},
        {"名词+age后缀+village", "The village.", true, " village /"},
        {"名词+ity后缀+city", "Two cities.", false},
        {"名词+ity后缀+city", "The city.", true, " city /"},
        {"名词+ness后缀+business", "Small businesses.", true, " businesses /"},
        {"名词+ress后缀+dress", "Two dresses.", true, " dresses /"},
        {"名词+dom后缀+所有", "Kingdoms fall.", true, " kingdoms /"},
        {"名词+an后缀+roman", "The Romans came.", true, " romans /"},
        {"名词+er后缀+worker", "The workers left.", true, " workers /"},
        {"名词+ment后缀+train compartment", "Two train compartments.", true, " train compartments /"},
        {"名词+ing后缀+所有", "Tall buildings.", true, " buildings /"},
    };
    ExpectTopicCases(cases);
}

TEST(NounTopics, CapitalisedEntriesNeverMatch)
{
    const TopicCase cases[] = {
        {"名词+er后缀+December", "In December.", false},
        {"名词+er后缀+Prime Minister", "The Prime Minister spoke.", false},
        {"名词+tion后缀+devotion", "Her devotion.", true, " devotion /"},
        {"名词+tion后缀+Devotion", "Her Devotion.", false},
        {"名词+tion后缀+Inquisition", "The Inquisition.", false},
        {"名词+ance后缀+France", "We love France.", false},
        {"名词+th后缀+Perth", "Perth is far.", false},
    };
    ExpectTopicCases(cases);
}

// The "men" plural replaces the regular ending of the man class instead of adding to it.
TEST(NounTopics, ManClassTakesMenPlurals)
{
    const TopicCase cases[] = {
        {"名词+man后缀+woman", "Two women.", true, " women /"},
        {"名词+man后缀+man", "Two men.", true, " men /"},
        {"名词+man后缀+man", "Two mans.", false},
        {"名词+man后缀+roman", "The Romans came.", false},
        {"名词+man后缀+fossil man", "Fossil men were found.", true, " fossil men /"},
        {"名词+man后缀+所有", "Two policewomen.", true, " policewomen /"},
    };
    ExpectTopicCases(cases);
}

} // namespace
