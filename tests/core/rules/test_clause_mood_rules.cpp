#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "RuleTesting.h"
#include "grammar/CategoryBuilders.h"
#include "grammar/WordListData.h"

using namespace lectoria::grammar;
using lectoria::test::BuiltRuleTable;
using lectoria::test::ExpectTopicCase;
using lectoria::test::TopicCase;

namespace {

// One sentence and the children of a parent (by index, "所有" excluded) whose rules it passes.
struct ChildVerdicts
{
    const char* sentence;
    std::vector<int> passing;
};

// Checks the sentence against every child of the parent: the listed ones pass, the others fail.
void ExpectChildVerdicts(const char* parent, const ChildVerdicts& row)
{
    const RuleTable& table = BuiltRuleTable();
    const int p = FindParentIndex(table, parent);
    const std::vector<std::string> children = SplitList(table.ChildTopicLists[static_cast<std::size_t>(p)], '/');
    for (std::size_t c = 1; c < children.size(); ++c) {
        const std::string selection = std::string(parent) + "+" + children[c];
        const bool passes = std::find(row.passing.begin(), row.passing.end(), static_cast<int>(c)) != row.passing.end();
        ExpectTopicCase({selection.c_str(), row.sentence, passes});
    }
}

std::size_t EntryCount(std::string_view list)
{
    return SplitList(list, '/').size();
}

TEST(ClauseLists, Sizes)
{
    EXPECT_EQ(EntryCount(lists::ClauseAdverbialConjunctions), 22u);
    EXPECT_EQ(EntryCount(lists::ClauseIfPastExclusions), 15u);
    EXPECT_EQ(EntryCount(lists::ClauseIfFutureExclusions), 19u);
}

TEST(ClauseRules, AllChildrenKeepTheirDefault)
{
    const RuleTable& table = BuiltRuleTable();
    for (int p : {kParentClauses, kParentParticiples, kParentMood}) {
        EXPECT_EQ(table.ChildRules[p][0], "++++") << p;
    }
}

TEST(ClauseRules, ClauseKinds)
{
    const ChildVerdicts rows[] = {
        {"This is the book which I bought.", {1}},
        {"What he said is true.", {1}},
        {"Who is he?", {}},
        {"I know that he is right.", {1, 3}},
        {"Is that your book?", {3}},
        {"When I came, he left.", {2}},
        {"I will wait till he comes.", {2}},
        {"Although it rained, we went out.", {2}},
        {"The moment he came, I left.", {2}},
        {"He left because of the rain.", {}},
        {"I came a while ago.", {}},
        {"I am busy at the moment.", {}},
        {"When will you come?", {}},
        {"The man who came while I was out left that note.", {1, 2, 3}},
    };
    for (const ChildVerdicts& row : rows) {
        ExpectChildVerdicts("从句", row);
    }
    ExpectTopicCase({"从句+定语从句", "The boy who came is Tom.", true, " who /"});
    ExpectTopicCase({"从句+状语从句", "I'll stay as long as you like.", true, " as long as /"});
}

TEST(ParticipleRules, AnyParticipleAndWithBeforeIng)
{
    EXPECT_EQ(SelectRule(BuiltRuleTable(), "分词结构+分词结构").anyAfter.size(), 2154u);

    const ChildVerdicts rows[] = {
        {"Seeing the teacher, he stood up.", {1}},
        {"Without saying a word, he left.", {1, 2}},
        {"He sat there, with his eyes closed.", {1}},
        {"She came in with a smile, singing.", {1, 2}},
        {"He is dressed in black.", {1}},
        {"The cat is on the mat.", {}},
    };
    for (const ChildVerdicts& row : rows) {
        ExpectChildVerdicts("分词结构", row);
    }
    ExpectTopicCase({"分词结构+with分词结构", "Without saying a word, he left.", true, " without / saying "});
    // The -ing form has to come after "with".
    ExpectTopicCase({"分词结构+with分词结构", "Singing, she walked with her friend.", false});
}

TEST(MoodRules, SubjunctiveKinds)
{
    const ChildVerdicts rows[] = {
        {"If I were you, I would go.", {1, 3, 4}},
        {"If I had known, I would have come.", {2, 4, 5}},
        {"If he came tomorrow, I would be glad.", {4}},
        {"If it rains, we will stay.", {}},
        {"You should go.", {4}},
        {"Should I go?", {}},
        {"I would have come, but I was ill.", {4, 5}},
        {"You should not have done that.", {4, 6}},
        {"You should have never done that.", {4}},
        // Erasing "have to" also cuts "have told".
        {"You should have told me.", {4}},
        {"You would have to wait.", {4}},
        {"If she was here, she would help.", {1, 4}},
        // "if" has to come before the past form.
        {"He went home if he could.", {4}},
        // " could " needs a blank after it, which "couldn't" does not give.
        {"I couldn't have done it without you.", {6}},
    };
    for (const ChildVerdicts& row : rows) {
        ExpectChildVerdicts("语气", row);
    }
    ExpectTopicCase({"语气+与过去事实相反从句", "If I were you, I would go.", true, " if / were "});
    ExpectTopicCase({"语气+本不应做而做", "You shouldn't have said that.", true, " have / shouldn't /"});
}

TEST(MoodRules, FutureClauseLosesTheLastIrregularPast)
{
    // The tail of the future rule is joined without a '/', so the last irregular past form gains
    // a second trailing blank.
    const TopicRule rule = SelectRule(BuiltRuleTable(), "语气+与将来事实相反从句");
    const std::vector<std::string>& after = rule.anyAfter;
    ASSERT_GE(after.size(), 5u);
    EXPECT_EQ(after[after.size() - 5], " wrung  ");
    EXPECT_EQ(after[after.size() - 4], " were ");
    ExpectTopicCase({"语气+与将来事实相反从句", "If I wrung it out, it would dry.", false});
    ExpectTopicCase({"语气+与过去事实相反从句", "If I wrung it out, it would dry.", true, " if / wrung "});
}

} // namespace
