#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "RuleTesting.h"
#include "grammar/CategoryBuilders.h"
#include "grammar/WordListData.h"
#include "grammar/builders/VerbClassRules.h"

using namespace lectoria::grammar;
using lectoria::test::BuiltRuleTable;
using lectoria::test::Entries;
using lectoria::test::ExpectTopicCases;
using lectoria::test::TopicCase;

namespace {

constexpr int kPhrasalByVerb = 8;
constexpr int kPhrasalByParticle = 9;

const std::vector<std::string>& GrandchildRulesOf(int child)
{
    return BuiltRuleTable().GrandchildRules[kParentPredicateVerbs][static_cast<std::size_t>(child)];
}

struct ClassLists
{
    const char* name;
    std::string_view bases, pasts, thirdPersons, ingForms, participles, owners;
    std::size_t verbs, participleCount;
};

// In child order: child k of 谓语动词 is row k - 1.
const ClassLists kClasses[] = {
    {"linking", lists::LinkingVerbBases, lists::LinkingVerbPasts, lists::LinkingVerbThirdPersons,
     lists::LinkingVerbIngForms, lists::LinkingVerbParticiples, lists::LinkingVerbParticipleOwners, 31, 8},
    {"intransitive", lists::IntransitiveVerbBases, lists::IntransitiveVerbPasts, lists::IntransitiveVerbThirdPersons,
     lists::IntransitiveVerbIngForms, lists::IntransitiveVerbParticiples, lists::IntransitiveVerbParticipleOwners, 37,
     4},
    {"ditransitive", lists::DitransitiveVerbBases, lists::DitransitiveVerbPasts, lists::DitransitiveVerbThirdPersons,
     lists::DitransitiveVerbIngForms, lists::DitransitiveVerbParticiples, lists::DitransitiveVerbParticipleOwners, 23,
     5},
    {"object complement", lists::ObjectComplementVerbBases, lists::ObjectComplementVerbPasts,
     lists::ObjectComplementVerbThirdPersons, lists::ObjectComplementVerbIngForms,
     lists::ObjectComplementVerbParticiples, lists::ObjectComplementVerbParticipleOwners, 87, 10},
    {"perception", lists::PerceptionVerbBases, lists::PerceptionVerbPasts, lists::PerceptionVerbThirdPersons,
     lists::PerceptionVerbIngForms, lists::PerceptionVerbParticiples, lists::PerceptionVerbParticipleOwners, 11, 1},
    {"causative", lists::CausativeVerbBases, lists::CausativeVerbPasts, lists::CausativeVerbThirdPersons,
     lists::CausativeVerbIngForms, lists::CausativeVerbParticiples, lists::CausativeVerbParticipleOwners, 3, 1},
    {"auxiliary", lists::AuxiliaryVerbBases, lists::AuxiliaryVerbPasts, lists::AuxiliaryVerbThirdPersons,
     lists::AuxiliaryVerbIngForms, lists::AuxiliaryVerbParticiples, lists::AuxiliaryVerbParticipleOwners, 5, 18},
    {"phrasal", lists::PhrasalVerbBases, lists::PhrasalVerbPasts, lists::PhrasalVerbThirdPersons,
     lists::PhrasalVerbIngForms, lists::PhrasalVerbParticiples, lists::PhrasalVerbParticipleOwners, 33, 7},
};

TEST(VerbClassData, ParallelListsHaveTheClassSize)
{
    for (const ClassLists& c : kClasses) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Entries(c.bases).size(), c.verbs);
        EXPECT_EQ(Entries(c.pasts).size(), c.verbs);
        EXPECT_EQ(Entries(c.thirdPersons).size(), c.verbs);
        EXPECT_EQ(Entries(c.ingForms).size(), c.verbs);
        EXPECT_EQ(Entries(c.participles).size(), c.participleCount);
        EXPECT_EQ(Entries(c.owners).size(), c.participleCount);
    }
    EXPECT_EQ(Entries(lists::Particles).size(), 45u);
    EXPECT_EQ(Entries(lists::Particles).front(), " about ");
    EXPECT_EQ(Entries(lists::Particles).back(), " without ");
}

struct AlignedForm
{
    std::string_view bases;
    std::string_view forms;
    const char* base;
    const char* form;
};

// Each odd spelling is looked up through its base, so a shifted list fails here too.
TEST(VerbClassData, OddFormsStayBesideTheirBase)
{
    const AlignedForm cases[] = {
        {lists::LinkingVerbBases, lists::LinkingVerbPasts, " prove  ", " proved "},
        {lists::LinkingVerbBases, lists::LinkingVerbPasts, " lie ", " lay "},
        {lists::IntransitiveVerbBases, lists::IntransitiveVerbIngForms, " agree ", " agree "},
        {lists::IntransitiveVerbBases, lists::IntransitiveVerbPasts, " slip ", " sliped "},
        {lists::IntransitiveVerbBases, lists::IntransitiveVerbPasts, " sweat ", " sweat "},
        {lists::IntransitiveVerbBases, lists::IntransitiveVerbThirdPersons, " compete ", " compets "},
        {lists::IntransitiveVerbBases, lists::IntransitiveVerbIngForms, " occur ", " occuring "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbPasts, " catch ", " catched "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbPasts, " forbid ", " forbad "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbPasts, " learn ", " leaned "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbPasts, " refer to ", " referred to "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbThirdPersons, " qualify ", " qualifys "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbThirdPersons, " watch ", " watchs "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbThirdPersons, " have ", " has "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbIngForms, " dye ", " dying "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbIngForms, " think of ", " thinking of "},
        {lists::ObjectComplementVerbBases, lists::ObjectComplementVerbIngForms, " wish ", " wishing "},
        {lists::PerceptionVerbBases, lists::PerceptionVerbPasts, " look at ", " looked to "},
        {lists::CausativeVerbBases, lists::CausativeVerbIngForms, " let ", " lettimg "},
        {lists::AuxiliaryVerbBases, lists::AuxiliaryVerbIngForms, " will ", " will "},
        {lists::PhrasalVerbBases, lists::PhrasalVerbPasts, " through ", " throughed "},
        {lists::PhrasalVerbBases, lists::PhrasalVerbIngForms, " turn ", " turning "},
    };
    for (const AlignedForm& c : cases) {
        const std::vector<std::string> bases = Entries(c.bases);
        const std::vector<std::string> forms = Entries(c.forms);
        const auto at = std::find(bases.begin(), bases.end(), c.base);
        ASSERT_NE(at, bases.end()) << c.base;
        const auto k = static_cast<std::size_t>(at - bases.begin());
        ASSERT_LT(k, forms.size()) << c.base;
        EXPECT_EQ(forms[k], c.form) << c.base;
    }
}

TEST(VerbClassData, OwnersAndParticiplesKeepTheirOddities)
{
    const std::vector<std::string> linking = Entries(lists::LinkingVerbBases);
    EXPECT_EQ(std::count(linking.begin(), linking.end(), " lie "), 2);
    EXPECT_EQ(Entries(lists::PhrasalVerbParticipleOwners).front(), " break\t");
    EXPECT_EQ(Entries(lists::ObjectComplementVerbParticipleOwners)[3], " got ");
    EXPECT_EQ(Entries(lists::CausativeVerbParticiples).front(), " let's ");
    const std::vector<std::string> auxiliary = Entries(lists::AuxiliaryVerbParticiples);
    EXPECT_EQ(auxiliary[4], "'m ");
    EXPECT_EQ(auxiliary[14], " havn't ");
    EXPECT_EQ(Entries(lists::AuxiliaryVerbParticipleOwners)[17], " will ");
}

TEST(PredicateVerbTable, EveryChildListsItsWordsAsGrandchildren)
{
    const RuleTable& table = BuiltRuleTable();
    const auto& grandchildLists = table.GrandchildLists[kParentPredicateVerbs];
    ASSERT_EQ(grandchildLists.size(), 10u);
    EXPECT_EQ(grandchildLists[0], "所有");
    EXPECT_EQ(GrandchildRulesOf(0), (std::vector<std::string>{"++++", "++++"}));
    for (int child = 1; child <= kPhrasalByParticle; ++child) {
        SCOPED_TRACE(child);
        const std::string_view words = child == kPhrasalByParticle ? lists::Particles : kClasses[child - 1].bases;
        EXPECT_EQ(table.ChildRules[kParentPredicateVerbs][static_cast<std::size_t>(child)], kGrandsonFilter);
        EXPECT_EQ(grandchildLists[static_cast<std::size_t>(child)], "所有/" + std::string(words));
        EXPECT_EQ(GrandchildRulesOf(child).size(), Entries(words).size() + 1);
    }
}

struct GrandchildNumber
{
    int child;
    const char* name;
    int index;
};

// The grandchild numbers the topic box shows for the names used in the sentence cases below.
TEST(PredicateVerbTable, GrandchildNamesResolveToTheirPositions)
{
    const GrandchildNumber cases[] = {
        {1, "become", 2}, {2, "become", 5},  {1, "fall asleep", 5}, {2, "fall", 19}, {3, "give", 5},
        {7, "be", 3},     {6, "let", 3},     {8, "give", 10},       {9, "up", 39},   {9, "after", 3},
        {9, "of", 30},    {9, "out of", 34}, {9, "out", 33},        {9, "in", 26},   {1, "lie", 19},
    };
    for (const GrandchildNumber& c : cases) {
        EXPECT_EQ(FindGrandchildIndex(BuiltRuleTable(), kParentPredicateVerbs, c.child, c.name), c.index) << c.name;
    }
}

TEST(PredicateVerbTable, EachVerbCollectsItsFormsAndOwnedParticiples)
{
    EXPECT_EQ(GrandchildRulesOf(1)[1], "+ appear / appeared / appears / appearing +++");
    EXPECT_EQ(GrandchildRulesOf(7)[3], "+ be / was / is / being / been / am / are / were /'m /'s /'re / isn't / aren't "
                                       "/ wasn't / weren't +++");
    EXPECT_EQ(GrandchildRulesOf(7)[4], "+ will / would / will / will / won't +++");
    // Both entries of the doubled base get the participle.
    EXPECT_EQ(GrandchildRulesOf(1)[19], "+ lie / lay / lies / lying / lain +++");
    EXPECT_EQ(GrandchildRulesOf(1)[20], "+ lie / lied / lies / lying / lain +++");
    // The owner " got " names no base of its class.
    for (const std::string& rule : GrandchildRulesOf(4)) {
        EXPECT_EQ(rule.find(" gotten ") != std::string::npos, &rule == &GrandchildRulesOf(4).front()) << rule;
    }
    // Grandchild 0 holds every form but none of the owners.
    const TopicRule whole = ParseTopicRule(GrandchildRulesOf(5)[0]);
    EXPECT_EQ(whole.anyOf.size(), 11u * 4 + 1);
    EXPECT_EQ(whole.anyOf.back(), " seen ");
}

TEST(PredicateVerbTable, PhrasalRulesPutTheParticleAfterTheVerb)
{
    const std::vector<std::string> particles = Entries(lists::Particles);
    for (const std::string& rule : GrandchildRulesOf(kPhrasalByVerb)) {
        const TopicRule parsed = ParseTopicRule(rule);
        EXPECT_EQ(parsed.anyAfter, particles) << rule;
        EXPECT_EQ(parsed.erase, std::vector<std::string>{""}) << rule;
    }
    EXPECT_EQ(GrandchildRulesOf(kPhrasalByVerb)[10],
              "+ give / gave / gives / giving / given ++" + std::string(lists::Particles) + "+");

    const std::vector<std::string>& byParticle = GrandchildRulesOf(kPhrasalByParticle);
    EXPECT_EQ(byParticle[0], GrandchildRulesOf(kPhrasalByVerb)[0]);
    const TopicRule up = ParseTopicRule(byParticle[39]);
    EXPECT_EQ(up.anyOf.size(), 139u);
    EXPECT_EQ(up.anyOf.back(), " taken ");
    EXPECT_EQ(up.anyAfter, std::vector<std::string>{" up "});
    EXPECT_EQ(up.erase, (std::vector<std::string>{" up for ", " up to ", " up with "}));
    EXPECT_EQ(ParseTopicRule(byParticle[13]).erase, (std::vector<std::string>{" back on ", " back upon "}));
    EXPECT_EQ(ParseTopicRule(byParticle[1]).erase, std::vector<std::string>{""});
}

TEST(PredicateVerbTopics, VerbClassesFindAnyFormOfTheirVerbs)
{
    const TopicCase cases[] = {
        {"谓语动词+所有", "Nothing to see.", true, ""},
        {"谓语动词+非be连系动词+所有", "He became a doctor.", true, " became /"},
        {"谓语动词+非be连系动词+become", "He became a doctor.", true},
        {"谓语动词+常用不及物动词+所有", "He became a doctor.", true},
        {"谓语动词+常用不及物动词+become", "He became a doctor.", true},
        {"谓语动词+非be连系动词+fall asleep", "She fell asleep.", true, " fell asleep /"},
        {"谓语动词+常用不及物动词+fall", "She fell asleep.", true},
        {"谓语动词+常用双宾动词+所有", "He gave me a book.", true},
        {"谓语动词+常用双宾动词+give", "He gave me a book.", true},
        {"谓语动词+助动词+所有", "He is a student.", true},
        {"谓语动词+助动词+be", "He is a student.", true},
        // The list holds " havn't ", so the correctly spelt word is no auxiliary here.
        {"谓语动词+助动词+所有", "I haven't seen it.", false},
        {"谓语动词+常用带宾补的动词+所有", "I haven't seen it.", true, " seen /"},
        {"谓语动词+感官动词+所有", "I haven't seen it.", true},
        {"谓语动词+感官动词+see", "I haven't seen it.", true},
        {"谓语动词+使欲动词+let", "Let's go.", true, " let's /"},
        {"谓语动词+助动词+be", "Let's go.", true, "'s /"},
        // The first lie has the past " lay "; only the second, which no name selects, has " lied ".
        {"谓语动词+非be连系动词+lie", "He lied to me.", false},
        {"谓语动词+非be连系动词+lie", "The book has lain there.", true},
        // " broken " belongs to no verb: its owner ends in a tab.
        {"谓语动词+动词短语按动词查询+break", "The cup was broken into pieces.", false},
        {"谓语动词+动词短语按动词查询+所有", "The cup was broken into pieces.", true},
    };
    ExpectTopicCases(cases);
}

TEST(PredicateVerbTopics, PhrasalVerbsNeedTheParticleAfterTheVerb)
{
    const TopicCase cases[] = {
        {"谓语动词+动词短语按动词查询+所有", "He gave up smoking.", true, " gave / up "},
        {"谓语动词+动词短语按动词查询+give", "He gave up smoking.", true},
        {"谓语动词+动词短语按副词或介词查询+所有", "He gave up smoking.", true},
        {"谓语动词+动词短语按副词或介词查询+up", "He gave up smoking.", true, " gave / up "},
        {"谓语动词+动词短语按副词或介词查询+after", "He looked after the baby.", true},
        {"谓语动词+动词短语按副词或介词查询+of", "He ran out of money.", true},
        {"谓语动词+动词短语按副词或介词查询+out of", "He ran out of money.", true, " ran / out of "},
        // " out of " is erased before " out " is looked for.
        {"谓语动词+动词短语按副词或介词查询+out", "He ran out of money.", false},
        {"谓语动词+动词短语按副词或介词查询+out", "Get out!", true},
        // " about " is the first particle of the list and stands before "came".
        {"谓语动词+动词短语按副词或介词查询+in", "About ten people came in.", true},
        {"谓语动词+动词短语按副词或介词查询+所有", "About ten people came in.", false},
        {"谓语动词+动词短语按动词查询+所有", "About ten people came in.", false},
        {"谓语动词+动词短语按动词查询+come", "About ten people came in.", false},
        {"谓语动词+动词短语按副词或介词查询+up", "Up he got.", false},
    };
    ExpectTopicCases(cases);
}

} // namespace
