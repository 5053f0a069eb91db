#include "grammar/RuleTable.h"

#include <gtest/gtest.h>

#include "grammar/CategoryBuilders.h"

using namespace lectoria::grammar;

namespace {

const RuleTable& Built()
{
    return lectoria::grammar::BuiltInRuleTable();
}

// A built table with the subject pronouns installed by hand, so the selection logic is tested
// apart from any category builder.
RuleTable WithSubjectPronouns()
{
    RuleTable table = Built();
    std::vector<std::string> lists(12);
    lists[1] = " i / we / you / he / she / it / they ";
    lists[5] = " myself /yourselves ";
    InstallGrandchildRules(table, kParentPronouns, 12, lists);
    return table;
}

TEST(TopicTree, ParentsAndChildrenAsListed)
{
    const RuleTable& table = Built();
    EXPECT_EQ(table.ParentTopicList,
              "所有/句型/从句/分词结构/时态/语态/语气/谓语动词/非谓动词/情态动词/名词/冠词/代词/数词/"
              "形容词/副词/介词/连词/感叹词");
    const int counts[] = {1, 14, 4, 3, 17, 18, 7, 10, 5, 4, 31, 5, 12, 7, 37, 14, 6, 7, 3};
    ASSERT_EQ(table.ChildTopicLists.size(), std::size(counts));
    for (int p = 0; p < static_cast<int>(std::size(counts)); ++p) {
        EXPECT_EQ(ChildCount(table, p), counts[p]) << p;
        EXPECT_EQ(table.ChildRules[p].size(), static_cast<std::size_t>(counts[p])) << p;
        EXPECT_EQ(table.GrandchildLists[p].size(), static_cast<std::size_t>(counts[p])) << p;
        EXPECT_EQ(SplitList(table.ChildTopicLists[p], '/').front(), "所有") << p;
    }
    EXPECT_EQ(table.ChildTopicLists[1],
              "所有/be动词主谓表/其他系动词/主谓/主谓宾/主谓宾宾/主谓宾宾补/There be/so(such)...that.../祈使句/感叹句/"
              "特殊疑问句/一般疑问句/反义疑问句");
    EXPECT_EQ(table.ChildTopicLists[13], "所有/基数词/序数词/阿拉伯数字/课文标题/带$价格/重量");
}

TEST(TopicTree, InterjectionsAndAllFindEverySentence)
{
    const RuleTable& table = Built();
    for (const char* selection : {"所有+所有", "所有+所有+所有", "感叹词+所有", "感叹词+拟音词", "感叹词+拟意词"}) {
        EXPECT_EQ(SelectedRuleString(table, selection), "++++") << selection;
    }
}

TEST(InstallGrandchildRules, OneRulePerWordAndTheWholeListFirst)
{
    const RuleTable table = WithSubjectPronouns();
    EXPECT_EQ(table.ChildRules[kParentPronouns][1], kGrandsonFilter);
    EXPECT_EQ(table.GrandchildLists[kParentPronouns][1], "所有/ i / we / you / he / she / it / they ");
    const std::vector<std::string>& rules = table.GrandchildRules[kParentPronouns][1];
    ASSERT_EQ(rules.size(), 8u);
    EXPECT_EQ(rules[0], "+ i / we / you / he / she / it / they +++");
    EXPECT_EQ(rules[1], "+ i +++");
    EXPECT_EQ(rules[7], "+ they +++");
    // An empty list leaves only 所有, with two rules that match everything.
    EXPECT_EQ(table.GrandchildLists[kParentPronouns][0], "所有");
    EXPECT_EQ(table.GrandchildRules[kParentPronouns][0], (std::vector<std::string>{"++++", "++++"}));
}

struct SelectionCase
{
    const char* selection;
    const char* rule;
};

TEST(SelectRule, PicksChildOrGrandchildRuleWithFallbacks)
{
    const RuleTable table = WithSubjectPronouns();
    const SelectionCase cases[] = {
        {"代词+主格人称代词+she", "+ she +++"},
        {"代词+主格人称代词", "+ i / we / you / he / she / it / they +++"},
        {"代词+主格人称代词+所有", "+ i / we / you / he / she / it / they +++"},
        {"代词+所有+所有", "++++"},
        // Names are compared trimmed of one blank on each side.
        {"代词+反身代词+yourselves", "+yourselves +++"},
        {"代词+主格人称代词+nobody", "+ i / we / you / he / she / it / they +++"},
        {"nonsense+主格人称代词+she", "++++"},
        {"", "++++"},
    };
    for (const SelectionCase& c : cases) {
        EXPECT_EQ(SelectedRuleString(table, c.selection), c.rule) << c.selection;
    }
    const TopicRule rule = SelectRule(table, "代词+主格人称代词+she");
    EXPECT_EQ(rule.anyOf, std::vector<std::string>{" she "});
    EXPECT_TRUE(MatchRule(rule, "she is here.").verdict);
    EXPECT_FALSE(MatchRule(rule, "shell.").verdict);
}

TEST(SelectRule, IndexLookups)
{
    const RuleTable table = WithSubjectPronouns();
    EXPECT_EQ(FindParentIndex(table, "代词"), kParentPronouns);
    EXPECT_EQ(FindParentIndex(table, "代词 "), 0);
    EXPECT_EQ(FindChildIndex(table, kParentTenses, "现在完成时"), 10);
    EXPECT_EQ(FindChildIndex(table, kParentTenses, "nothing"), 0);
    EXPECT_EQ(FindChildIndex(table, 99, "所有"), 0);
    EXPECT_EQ(FindGrandchildIndex(table, kParentPronouns, 1, "she"), 5);
    EXPECT_EQ(FindGrandchildIndex(table, kParentPronouns, 1, " she "), 0);
    EXPECT_EQ(FindGrandchildIndex(table, kParentPronouns, 99, "she"), 0);
}

TEST(FillGrandchildCombo, TrimmedNamesAndTheWantedEntry)
{
    const RuleTable table = WithSubjectPronouns();
    const GrandchildCombo she = FillGrandchildCombo(table, kParentPronouns, 1, "she");
    EXPECT_EQ(she.names, (std::vector<std::string>{"所有", "i", "we", "you", "he", "she", "it", "they"}));
    EXPECT_EQ(she.selected, 5);
    EXPECT_EQ(FillGrandchildCombo(table, kParentPronouns, 1, "").selected, 0);
    EXPECT_EQ(FillGrandchildCombo(table, kParentPronouns, 1, "nobody").selected, 0);
    EXPECT_EQ(FillGrandchildCombo(table, kParentPronouns, 0, "").names, std::vector<std::string>{"所有"});
}

} // namespace
