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

struct ChildList
{
    int parent;
    int child;
    std::string_view list;
    std::size_t size;
};

TEST(PrepositionConjunctionLists, SizesAndChildOrder)
{
    const ChildList rows[] = {
        {kParentPrepositions, 1, lists::PrepositionTime, 19},
        {kParentPrepositions, 2, lists::PrepositionPlace, 24},
        {kParentPrepositions, 3, lists::PrepositionDirection, 15},
        {kParentPrepositions, 4, lists::PrepositionManner, 3},
        {kParentPrepositions, 5, lists::PrepositionOther, 16},
        {kParentConjunctions, 1, lists::ConjunctionCoordinating, 5},
        {kParentConjunctions, 2, lists::ConjunctionAdversative, 4},
        {kParentConjunctions, 3, lists::ConjunctionAlternative, 4},
        {kParentConjunctions, 4, lists::ConjunctionCausal, 6},
        {kParentConjunctions, 5, lists::ConjunctionConcessive, 10},
        {kParentConjunctions, 6, lists::ConjunctionTemporal, 10},
    };
    const RuleTable& table = BuiltRuleTable();
    for (const ChildList& row : rows) {
        EXPECT_EQ(SplitList(row.list, '/').size(), row.size) << row.parent << '/' << row.child;
        EXPECT_EQ(table.GrandchildLists[row.parent][row.child], "所有/" + std::string(row.list))
            << row.parent << '/' << row.child;
    }
    // Byte-exact entries the rules depend on.
    EXPECT_EQ(std::string_view(lists::PrepositionDirection),
              " across / against / along / away from / close to / from / into / near to  / off / out / out of / "
              "through / to / toward / towards ");
    EXPECT_EQ(std::string_view(lists::ConjunctionTemporal),
              " when / while / till / until / as soon as / as long as / so long as / as far as / so far as / the "
              "moment ");
    EXPECT_EQ(std::string_view(lists::ConjunctionCausal), " therefore / because / as if / as / for / now that ");
}

TEST(PrepositionRules, ToErasesInfinitivesAndSetPhrases)
{
    const RuleTable& table = BuiltRuleTable();
    const std::string tail = "/ going to / to be / to do / to have / to school / to church / to hospital / to bed / "
                             "have to / has to / had to / hasn't to / haven't to / hadn't to ";
    // The infinitives keep their order; only the last one keeps its trailing blank.
    const std::string erase = " +++ to abandon/ to abide/ to absorb/";
    for (const char* selection : {"介词+时间介词+to", "介词+时间介词", "介词+方位介词+to", "介词+方位介词"}) {
        const std::string rule = SelectedRuleString(table, selection);
        EXPECT_NE(rule.find(erase), std::string::npos) << selection;
        EXPECT_TRUE(rule.ends_with(" to write " + tail)) << selection;
    }
    // Other grandchildren and children keep their plain rules.
    EXPECT_EQ(SelectedRuleString(table, "介词+时间介词+till"), "+ till +++");
    EXPECT_EQ(SelectedRuleString(table, "介词+地点介词"), "+" + std::string(lists::PrepositionPlace) + "+++");
}

TEST(PrepositionRules, ContextTests)
{
    const TopicCase cases[] = {
        {"介词+时间介词+to", "I want to go home.", false},
        {"介词+时间介词+to", "From Monday to Friday.", true, " to /"},
        {"介词+时间介词+to", "We go to school.", false},
        {"介词+时间介词", "We go to school at eight.", true, " at /"},
        {"介词+方位介词+to", "Walk to the door.", true},
        {"介词+方位介词+to", "It is going to rain.", false},
        {"介词+方位介词+to", "I have to go.", false},
        // " to go" has no trailing blank, so it also cuts "to good" apart.
        {"介词+方位介词+to", "Give it to good people.", false},
        {"介词+方位介词", "He ran to the station.", true},
        {"介词+方位介词", "I want to go home.", false},
        // " near to  " needs a blank before the next punctuation mark.
        {"介词+方位介词+near to ", "Come near to me.", false},
        {"介词+方位介词+near to ", "Come near to , please.", true},
    };
    ExpectTopicCases(cases);
}

TEST(ConjunctionRules, ContextTests)
{
    const TopicCase cases[] = {
        {"连词+时间连词+the moment", "I am busy at the moment.", false},
        {"连词+时间连词+the moment", "The moment I saw him, I knew.", true},
        {"连词+时间连词+while", "Wait a while.", false},
        {"连词+时间连词+while", "He read while she slept.", true},
        {"连词+因果连词+because", "Because of the rain", false},
        {"连词+因果连词+because", "Because it rained", true},
        // No erasing under grandchild 所有 of these children nor for the adversative "while".
        {"连词+时间连词", "I am busy at the moment.", true},
        {"连词+因果连词", "Because of the rain", true},
        {"连词+转折连词+while", "Wait a while.", true},
    };
    ExpectTopicCases(cases);
}

} // namespace
