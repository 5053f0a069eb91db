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
using lectoria::test::Entries;
using lectoria::test::ExpectTopicCase;
using lectoria::test::ExpectTopicCases;
using lectoria::test::TopicCase;

namespace {

constexpr const char* kPatterns = "句型";

bool Holds(const std::vector<std::string>& entries, std::string_view entry)
{
    return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

// The indices of the grandchildren of a pattern topic whose rule the sentence passes, selected by
// the names the grandchild box shows.
std::vector<int> PassingGrandchildren(const char* child, const char* sentence)
{
    const RuleTable& table = BuiltRuleTable();
    const int c = FindChildIndex(table, kParentSentencePatterns, child);
    const GrandchildCombo combo = FillGrandchildCombo(table, kParentSentencePatterns, c, "");
    std::vector<int> passing;
    for (std::size_t g = 0; g < combo.names.size(); ++g) {
        const std::string selection = std::string(kPatterns) + "+" + child + "+" + combo.names[g];
        if (MatchRule(SelectRule(table, selection), ToLowerAscii(sentence)).verdict) {
            passing.push_back(static_cast<int>(g));
        }
    }
    return passing;
}

struct ListCase
{
    std::string_view name;
    std::string_view list;
    std::size_t size;
    std::vector<std::string_view> holds;
};

TEST(PatternLists, SizesAndOddEntries)
{
    const ListCase cases[] = {
        {"BeForms", lists::PatternBeForms, 31, {"'re ", " con not be ", " have not to be ", " had not to be "}},
        {"LinkVerbs", lists::PatternLinkVerbs, 30, {" prove  ", " fall asleep ", " go wrong "}},
        {"LinkVerbThirdPersons", lists::PatternLinkVerbThirdPersons, 30, {" proves ", " goes wrong "}},
        {"LinkVerbPasts", lists::PatternLinkVerbPasts, 30, {" standed ", " fall ill ", " went wrong "}},
        {"DitransitiveVerbs", lists::PatternDitransitiveVerbs, 112, {" offers ", " sung ", " wishing "}},
        {"ComplementVerbs", lists::PatternComplementVerbs, 87, {" advise ", " listen to ", " think of ", " wish "}},
        {"ComplementThirdPersons", lists::PatternComplementThirdPersons, 87, {"\tadvises ", " watchs ", " qualifys "}},
        {"ComplementIngForms", lists::PatternComplementIngForms, 87, {" dyeing ", " referring to ", " wishing "}},
        {"ComplementPasts",
         lists::PatternComplementPasts,
         90,
         {" catched ", " forbad ", " leaned ", " thought of ", " forbade ", " learnt ", " smelt "}},
        {"ExclamationVerbs", lists::PatternExclamationVerbs, 24, {"?", "'ve ", " might "}},
    };
    for (const ListCase& c : cases) {
        const std::vector<std::string> entries = Entries(c.list);
        EXPECT_EQ(entries.size(), c.size) << c.name;
        for (std::string_view entry : c.holds) {
            EXPECT_TRUE(Holds(entries, entry)) << c.name << " lacks \"" << entry << '"';
        }
    }
    // The linking-verb lists are parallel: entry k of each is a form of the same verb.
    EXPECT_EQ(Entries(lists::PatternLinkVerbs)[7], " prove  ");
    EXPECT_EQ(Entries(lists::PatternLinkVerbThirdPersons)[7], " proves ");
    EXPECT_EQ(Entries(lists::PatternLinkVerbPasts)[7], " proved ");
    EXPECT_EQ(Entries(lists::PatternComplementThirdPersons).front(), "\tadvises ");
}

TEST(PatternRules, SubjectVerbAndSubjectVerbObjectFindEverySentence)
{
    const RuleTable& table = BuiltRuleTable();
    for (int c : {0, 3, 4}) {
        EXPECT_EQ(table.ChildRules[kParentSentencePatterns][c], "++++") << c;
    }
    ExpectTopicCase({"句型+主谓", "", true, ""});
    ExpectTopicCase({"句型+主谓宾", "Open the door.", true, ""});
}

TEST(PatternRules, BePredicativeExcludesEveryOtherVerb)
{
    const TopicRule rule = SelectRule(BuiltRuleTable(), "句型+be动词主谓表");
    EXPECT_EQ(rule.anyOf.size(), 31u);
    EXPECT_EQ(rule.noneOf.size(), 2913u);

    const TopicCase cases[] = {
        {"句型+be动词主谓表", "He is a good teacher.", true, " is /"},
        {"句型+be动词主谓表", "What a fine day it is!", true},
        {"句型+be动词主谓表", "They're my friends.", true, "'re /"},
        // "ed" and "ing" match inside any word.
        {"句型+be动词主谓表", "She is interested in it.", false},
        {"句型+be动词主谓表", "He is a king.", false},
        {"句型+be动词主谓表", "The apple is red.", false},
        {"句型+be动词主谓表", "There is a book on the desk.", false},
        {"句型+be动词主谓表", "She is tall and has long hair.", false},
        {"句型+be动词主谓表", "It is all I have.", false},
    };
    ExpectTopicCases(cases);
}

TEST(PatternRules, LinkingVerbGrandchildren)
{
    const RuleTable& table = BuiltRuleTable();
    const int c = FindChildIndex(table, kParentSentencePatterns, "其他系动词");
    const std::vector<std::string>& rules = table.GrandchildRules[kParentSentencePatterns][c];
    ASSERT_EQ(rules.size(), 31u);
    EXPECT_EQ(ParseTopicRule(rules[0]).anyOf.size(), 90u);
    EXPECT_EQ(rules[1], "+ look / looks / looked +++");
    EXPECT_EQ(rules[30], "+ go wrong / goes wrong / went wrong +++");

    // The box trims one blank on each side, so the doubled blank of "prove" stays in its name.
    const GrandchildCombo combo = FillGrandchildCombo(table, kParentSentencePatterns, c, "prove ");
    EXPECT_EQ(combo.names.size(), 31u);
    EXPECT_EQ(combo.selected, 8);
    EXPECT_EQ(SelectedRuleString(table, "句型+其他系动词+prove "), "+ prove  / proves / proved +++");

    EXPECT_EQ(PassingGrandchildren("其他系动词", "The flowers smell sweet."), (std::vector<int>{0, 4}));
    EXPECT_EQ(PassingGrandchildren("其他系动词", "She became a doctor."), (std::vector<int>{0, 16}));
    // The "fall" phrases have no past form of their own.
    EXPECT_EQ(PassingGrandchildren("其他系动词", "He fell ill."), std::vector<int>{});
    // Only "prove" followed by two blanks would match, which a sentence never holds.
    EXPECT_EQ(PassingGrandchildren("其他系动词", "They prove useful."), std::vector<int>{});
    ExpectTopicCase({"句型+其他系动词+go wrong", "Things went wrong.", true, " went wrong /"});
}

TEST(PatternRules, TwoObjects)
{
    const TopicCase cases[] = {
        {"句型+主谓宾宾", "He gave me a book.", true, " gave / me "},
        {"句型+主谓宾宾", "She is teaching us English.", true, " teaching / us "},
        {"句型+主谓宾宾", "He gave a book to me.", false},
        {"句型+主谓宾宾", "She bought a cake for them.", false},
        // The object pronoun has to come after the verb.
        {"句型+主谓宾宾", "You gave a good talk.", false},
    };
    ExpectTopicCases(cases);
}

TEST(PatternRules, ObjectComplement)
{
    const RuleTable& table = BuiltRuleTable();
    const int c = FindChildIndex(table, kParentSentencePatterns, "主谓宾宾补");
    EXPECT_EQ(table.ChildRules[kParentSentencePatterns][c], kGrandsonFilter);
    EXPECT_EQ(table.GrandchildLists[kParentSentencePatterns][c], kAllTopics);
    ASSERT_EQ(table.GrandchildRules[kParentSentencePatterns][c].size(), 1u);

    const TopicRule rule = SelectRule(table, "句型+主谓宾宾补");
    ASSERT_EQ(rule.anyOf.size(), 358u);
    ASSERT_EQ(rule.noneOf.size(), 358u);
    for (std::size_t i = 0; i < rule.anyOf.size(); ++i) {
        EXPECT_EQ(rule.noneOf[i], rule.anyOf[i] + "to ") << i;
    }
    EXPECT_EQ(rule.anyOf.back(), " shown ");

    const TopicCase cases[] = {
        {"句型+主谓宾宾补", "I want him to go.", true, " want /"},
        {"句型+主谓宾宾补", "They made him captain.", true, " made /"},
        {"句型+主谓宾宾补", "We found the room empty.", true},
        {"句型+主谓宾宾补", "I want to go.", false},
        {"句型+主谓宾宾补", "She asked to leave.", false},
        // The third-person "advises" starts with a tab, and " advise " needs a blank after it.
        {"句型+主谓宾宾补", "The doctor advises him to rest.", false},
    };
    ExpectTopicCases(cases);
}

TEST(PatternRules, ThereBeAndSoThat)
{
    const TopicCase cases[] = {
        {"句型+There be", "There is a book on the desk.", true, "there / is /"},
        // "there " needs a blank after it, so the contracted forms never pass on their own.
        {"句型+There be", "There's a cat in the box.", false},
        // Neither word order nor the leading blank is tested.
        {"句型+There be", "Is there a pen?", true},
        {"句型+There be", "They were there.", true},
        {"句型+There be", "There he goes.", false},
        {"句型+so(such)...that...", "He is so tired that he can't walk.", true, " so / that "},
        {"句型+so(such)...that...", "It was such a nice day that we went out.", true, " such / that "},
        {"句型+so(such)...that...", "He ran fast so that he could catch the bus.", false},
        {"句型+so(such)...that...", "That is so good.", false},
    };
    ExpectTopicCases(cases);
}

TEST(PatternRules, ImperativeAndExclamatory)
{
    const TopicCase cases[] = {
        {"句型+祈使句", "Let's go.", true, " let's /"},
        {"句型+祈使句", "Don't do that.", true, " don't /"},
        {"句型+祈使句", "Let him in.", true, " let /"},
        {"句型+祈使句", "I don't know.", false},
        {"句型+祈使句", "They don't like it.", false},
        {"句型+祈使句", "Open the door.", false},
        {"句型+祈使句", "Let me see, shall we?", false},
        {"句型+祈使句", "The house is to let.", false},
        {"句型+祈使句", "He would let me go.", false},
        {"句型+感叹句", "What a fine day!", true, " what /"},
        {"句型+感叹句", "How beautiful!", true, " how /"},
        {"句型+感叹句", "What a fine day it is!", false},
        {"句型+感叹句", "How are you?", false},
    };
    ExpectTopicCases(cases);
}

TEST(PatternRules, WhQuestionGrandchildren)
{
    const RuleTable& table = BuiltRuleTable();
    const int c = FindChildIndex(table, kParentSentencePatterns, "特殊疑问句");
    const GrandchildCombo combo = FillGrandchildCombo(table, kParentSentencePatterns, c, "how old");
    ASSERT_EQ(combo.names.size(), 15u);
    EXPECT_EQ(combo.names[1], "what");
    EXPECT_EQ(combo.selected, 14);
    EXPECT_EQ(table.GrandchildRules[kParentSentencePatterns][c].size(), 15u);
    EXPECT_EQ(SelectedRuleString(table, "句型+特殊疑问句+how old"), "?+how old +++");

    EXPECT_EQ(PassingGrandchildren("特殊疑问句", "Where do you live?"), (std::vector<int>{0, 3}));
    EXPECT_EQ(PassingGrandchildren("特殊疑问句", "How many books do you have?"), (std::vector<int>{0, 9, 10}));
    // "how " inside "show".
    EXPECT_EQ(PassingGrandchildren("特殊疑问句", "Can you show me the way?"), (std::vector<int>{0, 9}));
    EXPECT_EQ(PassingGrandchildren("特殊疑问句", "Where he lives is a secret."), std::vector<int>{});
}

TEST(PatternRules, YesNoAndTagQuestions)
{
    const TopicCase cases[] = {
        {"句型+一般疑问句", "Are you a student?", true, "?/"},
        {"句型+一般疑问句", "You are a student, aren't you?", true},
        {"句型+一般疑问句", "He likes it, doesn't he?", true},
        {"句型+一般疑问句", "Where do you live?", false},
        {"句型+一般疑问句", "Can you show me?", false},
        {"句型+一般疑问句", "Is it somewhat cold?", false},
        {"句型+一般疑问句", "You are a student.", false},
        {"句型+反义疑问句", "You are a student, aren't you?", true, ",/n't/"},
        {"句型+反义疑问句", "He likes it, doesn't he?", true, ",/n't/"},
        {"句型+反义疑问句", "She is not here, is she?", true, ",/not /"},
        {"句型+反义疑问句", "Isn't it fine?", false},
        {"句型+反义疑问句", "Why not, isn't it?", false},
        {"句型+反义疑问句", "It isn't fine, you see.", false},
    };
    ExpectTopicCases(cases);
}

} // namespace
