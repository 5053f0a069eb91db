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
using lectoria::test::ExpectTopicCases;
using lectoria::test::Passes;
using lectoria::test::TopicCase;

namespace {

struct ListSize
{
    const char* name;
    std::string_view list;
    std::size_t entries;
};

TEST(ModalData, ListsHaveTheirSizesAndOddEntries)
{
    const ListSize sizes[] = {
        {"Modals", lists::Modals, 13},           {"NegatedModals", lists::NegatedModals, 8},
        {"ToModals", lists::ToModals, 3},        {"BeToModals", lists::BeToModals, 8},
        {"HaveToForms", lists::HaveToForms, 12}, {"ModalBeForms", lists::ModalBeForms, 15},
    };
    for (const ListSize& s : sizes) {
        EXPECT_EQ(Entries(s.list).size(), s.entries) << s.name;
    }
    EXPECT_EQ(Entries(lists::Modals)[7], " had better ");
    EXPECT_EQ(Entries(lists::Modals).back(), " would rather ");
    EXPECT_EQ(Entries(lists::NegatedModals)[1], " coundn't ");
    EXPECT_EQ(Entries(lists::NegatedModals)[7], "'d better ");
    EXPECT_EQ(Entries(lists::HaveToForms)[3], "'d to ");
    EXPECT_EQ(Entries(lists::HaveToForms)[9], " havn't to ");
    EXPECT_EQ(Entries(lists::ModalBeForms)[3], "'s ");
}

TEST(ModalTable, ChildrenAndTheirGrandchildren)
{
    const RuleTable& table = BuiltRuleTable();
    const std::size_t grandchildren[] = {1, 14, 11, 1};
    ASSERT_EQ(table.GrandchildRules[kParentModals].size(), std::size(grandchildren));
    for (std::size_t c = 0; c < std::size(grandchildren); ++c) {
        EXPECT_EQ(table.ChildRules[kParentModals][c], kGrandsonFilter) << c;
        EXPECT_EQ(table.GrandchildRules[kParentModals][c].size(), grandchildren[c]) << c;
        EXPECT_EQ(Entries(table.GrandchildLists[kParentModals][c]).size(), grandchildren[c]) << c;
    }
    EXPECT_EQ(table.GrandchildLists[kParentModals][3], "所有");
    // The modals with "to" have no 所有 entry: the box starts with "have to".
    const GrandchildCombo withTo = FillGrandchildCombo(table, kParentModals, 2, "be able to");
    EXPECT_EQ(withTo.names.front(), "have to");
    EXPECT_EQ(withTo.names.back(), "be unable to");
    EXPECT_EQ(withTo.selected, 9);
    EXPECT_EQ(SelectedRuleString(table, "情态动词+带to情态动词+be able to"),
              " able +" + std::string(lists::ModalBeForms) + "++ to +");
    EXPECT_EQ(SelectedRuleString(table, "情态动词+带to情态动词+used to"), "+ used to + got / get / am /were ++");
}

TEST(NonFiniteTable, ParticipleAndGerundShareOneRule)
{
    const std::vector<std::string>& rules = BuiltRuleTable().ChildRules[kParentNonFinite];
    ASSERT_EQ(rules.size(), 5u);
    EXPECT_EQ(rules[0], "++++");
    EXPECT_EQ(rules[2], rules[4]);
    EXPECT_NE(rules[2], rules[3]);
}

TEST(NonFiniteTopics, WordFormsWithTheirExclusions)
{
    const TopicCase cases[] = {
        {"非谓动词+不定式", "I want to go home.", true},
        {"非谓动词+不定式", "I am going to swim.", false},
        {"非谓动词+不定式", "I have to go.", false},
        {"非谓动词+不定式", "We've to leave.", false},
        // The entries have no trailing blank, so " to go" is found inside "to good".
        {"非谓动词+不定式", "He said hello to good friends.", true, " to go/"},
        {"非谓动词+过去分词", "He said hello to good friends.", true, " said "},
        {"非谓动词+过去分词", "I found the window broken.", true},
        {"非谓动词+过去分词", "He walked home.", true},
        {"非谓动词+过去分词", "Go home now.", false},
        {"非谓动词+现在分词", "He likes swimming.", true, " swimming "},
        {"非谓动词+动名词", "He likes swimming.", true},
        {"非谓动词+现在分词", "Look at the sleeping baby.", true},
        {"非谓动词+动名词", "Look at the sleeping baby.", true},
        {"非谓动词+现在分词", "She is singing.", false},
        {"非谓动词+动名词", "She is singing.", false},
        {"非谓动词+现在分词", "The running water is cold.", false},
        {"非谓动词+动名词", "The running water is cold.", false},
        {"非谓动词+现在分词", "He's running.", false},
    };
    ExpectTopicCases(cases);
}

TEST(ModalTopics, OrdinaryModalsAndTheirNegations)
{
    const TopicCase cases[] = {
        {"情态动词+一般情态动词+所有", "You can go now.", true, " can /"},
        {"情态动词+一般情态动词+can", "You can go now.", true},
        {"情态动词+一般情态动词+所有", "You can't go.", true, " can't /"},
        {"情态动词+一般情态动词+can", "You can't go.", true},
        {"情态动词+一般情态动词+所有", "You cannot go.", false},
        {"情态动词+所有", "You cannot go.", false},
        {"情态动词+一般情态动词+can", "You cannot go.", true, " cannot /"},
        // The negation list spells it " coundn't ".
        {"情态动词+一般情态动词+could", "He couldn't come.", false},
        {"情态动词+一般情态动词+must", "You mustn't go.", true},
        {"情态动词+一般情态动词+will", "He won't come.", true},
        {"情态动词+一般情态动词+had better", "You'd better stay.", true, "'d better /"},
        {"情态动词+一般情态动词+had better", "You had better stay.", true},
        {"情态动词+一般情态动词+would rather", "I would rather stay.", true},
        {"情态动词+一般情态动词+would", "I would rather stay.", true},
    };
    ExpectTopicCases(cases);
}

TEST(ModalTopics, ModalsWithTo)
{
    const TopicCase cases[] = {
        {"情态动词+带to情态动词+used to", "I used to live here.", true},
        {"情态动词+带to情态动词+used to", "I am used to it.", false},
        {"情态动词+带to情态动词+used to", "I got used to it.", false},
        {"情态动词+带to情态动词+be able to", "He is able to swim.", true, " able / is / to "},
        {"情态动词+带to情态动词+be able to", "He is unable to swim.", false},
        {"情态动词+带to情态动词+be unable to", "He is unable to swim.", true},
        // The first " to " stands before " is ", the first form of "be" in list order.
        {"情态动词+带to情态动词+be able to", "To be able to swim is good.", false},
        {"情态动词+带to情态动词+be going to", "He is going to swim.", true},
        {"情态动词+带to情态动词+ought to", "She ought to go.", true},
        {"情态动词+带to情态动词+ought to", "You ought not to go.", true},
        {"情态动词+带to情态动词+have to", "He has to work.", true},
        {"情态动词+带to情态动词+have to", "I have to go.", true},
        {"情态动词+所有", "I have to go.", true, " have to /"},
        {"情态动词+所有", "He has to work.", false},
    };
    ExpectTopicCases(cases);
}

TEST(ModalTopics, ModalPerfect)
{
    const TopicCase cases[] = {
        {"情态动词+情态动词加完成时态", "You must have seen it.", true, " have / must / seen "},
        {"情态动词+情态动词加完成时态", "She may have been ill.", true},
        {"情态动词+情态动词加完成时态", "You should have worked harder.", true},
        // Erasing "have to" cuts "have told" down to "ld".
        {"情态动词+情态动词加完成时态", "You should have told me.", false},
        {"情态动词+情态动词加完成时态", "I have seen it.", false},
        {"情态动词+情态动词加完成时态", "Seen from here, you must have a view.", false},
    };
    ExpectTopicCases(cases);
}

TEST(ModalTopics, CouldntPassesNoModalTopic)
{
    const RuleTable& table = BuiltRuleTable();
    const std::string sentence = ToLowerAscii("He couldn't come.");
    for (std::size_t c = 0; c < table.GrandchildRules[kParentModals].size(); ++c) {
        for (const std::string& rule : table.GrandchildRules[kParentModals][c]) {
            EXPECT_FALSE(MatchRule(ParseTopicRule(rule), sentence).verdict) << rule;
        }
    }
}

TEST(ModalTopics, AllModalsCoversTheOrdinaryOnes)
{
    const char* sentences[] = {
        "You can go now.", "You can't go.",        "You'd better stay.", "You had better stay.", "He won't come.",
        "May I come in?",  "I would rather stay.", "You needn't wait.",  "Dare he go?",
    };
    for (const char* sentence : sentences) {
        EXPECT_TRUE(Passes("情态动词+一般情态动词+所有", sentence)) << sentence;
        EXPECT_TRUE(Passes("情态动词+所有", sentence)) << sentence;
    }
}

} // namespace
