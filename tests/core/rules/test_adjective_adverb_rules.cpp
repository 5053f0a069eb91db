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
using lectoria::test::ExpectTopicCases;
using lectoria::test::TopicCase;

namespace {

long Occurrences(std::string_view list, std::string_view entry)
{
    const std::vector<std::string> entries = Entries(list);
    return std::count(entries.begin(), entries.end(), entry);
}

// One child's word list: its size, how it begins and ends, and that the child shows it as its
// grandchildren.
struct ChildList
{
    int child;
    std::string_view list;
    std::size_t size;
    std::string_view head;
    std::string_view tail;
};

void ExpectChildLists(int p, const std::vector<ChildList>& rows)
{
    const RuleTable& table = BuiltRuleTable();
    for (const ChildList& row : rows) {
        SCOPED_TRACE(testing::Message() << "parent " << p << " child " << row.child);
        EXPECT_EQ(Entries(row.list).size(), row.size);
        EXPECT_TRUE(row.list.starts_with(row.head)) << row.list.substr(0, 80);
        EXPECT_TRUE(row.list.ends_with(row.tail))
            << row.list.substr(row.list.size() - std::min<std::size_t>(80, row.list.size()));
        EXPECT_EQ(table.GrandchildLists[p][row.child], "所有/" + std::string(row.list));
    }
}

TEST(AdjectiveLists, SizesEndsAndChildOrder)
{
    ExpectChildLists(
        kParentAdjectives,
        {
            {1, lists::AdjectiveGoodBad, 25, " bad / cheerful / delighted ", " well-known / wonderful "},
            {2, lists::AdjectivePraise, 180,
             " active / adaptable / adroit / affluent / aggressive / alert / ambitious / amiable /",
             "/ versatile / warmhearted / wise "},
            {3, lists::AdjectiveCriticism, 117,
             " aberrant / abject / absurd / ambitious / angry / annoying / anonymous / apologetic /",
             "/ wicked / wounded / wretched "},
            {4, lists::AdjectiveGoodThings, 69,
             " absorbing / accurate / adamant / advanced / aesthetic / assistant / calm / clear /",
             "/ worth / worthwhile / worthy "},
            {5, lists::AdjectiveNeutralThings, 80,
             " abstract / actual / advance / advisory / amateur / anxious / available / born /",
             "/ virtual / wandering / widespread "},
            {6, lists::AdjectiveBadThings, 87,
             " agonizing / alarming / amazing / bewildering / breath-taking / catastrophic / closed / "
             "complicated /",
             "/ violent / worthless / wrong "},
            {7, lists::AdjectiveWholePart, 45,
             " alike / all / alone / alternative / analogous / another / any / assorted /", "/ what / which / whole "},
            {8, lists::AdjectiveKind, 90,
             " acrobatic / administrative / agricultural / architectural / arithmetical / artificial / "
             "artistic / astronomical /",
             "/ wooden / woolen / woollen "},
            {9, lists::AdjectiveColour, 33, " ablaze / amber-like / black ", " white / yellow "},
            {10, lists::AdjectiveShape, 74, " adverse / big / blunt / broad / broken / bumpy / colossal / compressed /",
             "/ vertical / zig-zag / zoomorphic "},
            {11, lists::AdjectiveTime, 57,
             " alive / all-night / ancient / annual / asleep / awake / classical / conventional /",
             "/ yearly / young / youthful "},
            {12, lists::AdjectivePosition, 82,
             " above / agreeable / airless / alien / Alpine / back / backward / central /",
             "/ wet / wide / worldwide "},
            {13, lists::AdjectiveFood, 55, " acidic / bitter / boiling / burnt / cheap / clean / cold / cool /",
             "/ waterlogged / water-tight / wild "},
            {14, lists::AdjectivePairedParticiples, 34, " alarming , alarmed / amazing , amazed /",
             "/ worrying , worried "},
            {15, lists::AdjectivePredicativeOnly, 30, " able / absent / adrift ", " upset / worth / worried "},
            {16, " about / at / for / from / in / of / to / with ", 8, "", ""},
            {17, " than ", 1, "", ""},
            {19, lists::AdjectiveSuffixIng, 75,
             " absorbing / agonizing / alarming / amazing / amusing / annoying / astonishing / bewildering /",
             "/ wandering / willing / worrying "},
            {20, lists::AdjectiveSuffixEd, 100,
             " advanced / alarmed / amazed / amused / annoyed / ashamed / assorted / astonished /",
             "/ worried / wounded / wretched "},
            {21, lists::AdjectiveSuffixOus, 39, " ambitious / analogous ", " vicious / world-famous "},
            {22, lists::AdjectiveSuffixCal, 29, " analytical / arithmetical ", " vertical / whimsical "},
            {23, lists::AdjectiveSuffixAl, 60,
             " actual / agricultural / annual / architectural / artificial / bactericidal / banal / casual /",
             "/ unusual / usual / virtual "},
            {24, lists::AdjectiveSuffixBle, 51,
             " adaptable / agreeable / amiable / amicable / available / capable / charitable / comfortable /",
             "/ valuable / veritable / vulnerable "},
            {25, lists::AdjectiveSuffixFul, 28, " beautiful / careful ", " wonderful / youthful "},
            {26, lists::AdjectiveSuffixIc, 35, " acidic / acrobatic ",
             " toxic / tragic / unrealistic / unsympathetic / zoomorphic "},
            {27, lists::AdjectiveSuffixIve, 33, " active / administrative ",
             " secretive / speculative / unimaginative "},
            {28, lists::AdjectiveSuffixAry, 12, " contrary / dreary ", " temporary / unnecessary "},
            {29, lists::AdjectiveSuffixLy, 17, "\tbrotherly / daily ", " weekly / yearly "},
            {30, lists::AdjectiveSuffixY, 63,
             " advisory / angry / any / auditory / bumpy / busy / cloudy / compulsory /",
             "/ wealthy / windy / worthy "},
            {31, lists::AdjectiveSuffixAnt, 14, " aberrant / adamant ", " valiant / variant "},
            {32, lists::AdjectiveSuffixSome, 5, " handsome / quarrelsome / some / tiresome / troublesome ", ""},
            {33, lists::AdjectiveSuffixLess, 14, " airless / cordless ", " wireless / worthless "},
            {34, lists::AdjectivePrefixIm, 9, " immediate / immense ", " important / impossible "},
            {35, lists::AdjectivePrefixUn, 50,
             " unable / unacceptable / unaware / unboiled / unbroken / uncanny / uncertain / uncomfortable /",
             "/ unutterable / unwanted / used "},
            {36, lists::AdjectivePrefixIn, 30, " inaccessible / inadequate ", " intimate / inventive "},
        });
    // The two children without a word list show only 所有.
    EXPECT_EQ(BuiltRuleTable().GrandchildLists[kParentAdjectives][0], "所有");
    EXPECT_EQ(BuiltRuleTable().GrandchildLists[kParentAdjectives][18], "所有");
}

TEST(AdjectiveLists, OddEntriesKept)
{
    EXPECT_EQ(Occurrences(lists::AdjectiveKind, " mineral  "), 1);
    EXPECT_EQ(Occurrences(lists::AdjectiveKind, " Olympic "), 1);
    EXPECT_EQ(Occurrences(lists::AdjectivePosition, " Alpine "), 1);
    EXPECT_EQ(Occurrences(lists::AdjectivePosition, " English-speaking "), 1);
    EXPECT_EQ(Occurrences(lists::AdjectiveSuffixIng, " English-speaking "), 1);
    EXPECT_EQ(Occurrences(lists::AdjectiveSuffixIc, " Olympic "), 1);
    EXPECT_EQ(Occurrences(lists::AdjectivePredicativeOnly, " sorry "), 2);

    const std::vector<std::string> beOrGet = Entries(lists::BeOrGetForms);
    EXPECT_EQ(beOrGet.size(), 17u);
    for (const char* contracted : {"'s ", "'re ", "'m "}) {
        EXPECT_EQ(Occurrences(lists::BeOrGetForms, contracted), 1) << contracted;
    }
    EXPECT_EQ(Entries(lists::Comparatives).size(), 28u);
    EXPECT_TRUE(std::string_view(lists::Comparatives).ends_with(" whiter / worse / hotter "));
    EXPECT_EQ(Entries(lists::AdjectiveSuperlativeErasures).size(), 23u);
    EXPECT_EQ(Occurrences(lists::AdjectiveSuperlativeErasures, " sea-chest "), 1);

    // The adjectives before each preposition, with their misspellings.
    const struct
    {
        std::string_view list;
        std::size_t size;
        std::string_view odd;
    } phrases[] = {
        {lists::AdjectivePhraseAbout, 14, " wild "},      {lists::AdjectivePhraseAt, 12, " strange "},
        {lists::AdjectivePhraseFor, 16, " well known "},  {lists::AdjectivePhraseFrom, 6, " separatded "},
        {lists::AdjectivePhraseIn, 18, " dadept "},       {lists::AdjectivePhraseOf, 14, " short "},
        {lists::AdjectivePhraseTo, 16, " imaccessible "}, {lists::AdjectivePhraseWith, 9, " strict "},
    };
    for (const auto& phrase : phrases) {
        EXPECT_EQ(Entries(phrase.list).size(), phrase.size) << phrase.odd;
        EXPECT_EQ(Occurrences(phrase.list, phrase.odd), 1) << phrase.odd;
    }
}

TEST(AdjectiveRules, ComposedRuleStrings)
{
    const RuleTable& table = BuiltRuleTable();
    EXPECT_EQ(SelectedRuleString(table, "形容词+成对的分词形式+freezing , frozen"), "+ frozen / freezing +++");
    EXPECT_TRUE(
        SelectedRuleString(table, "形容词+成对的分词形式").starts_with("+ alarmed / alarming / amazed / amazing /"));
    EXPECT_EQ(SelectedRuleString(table, "形容词+形容词短语+from"),
              "+ is / am / are /'s /'re /'m / was / were / be / being / been / isn't / aren't / weren't / wasn't / get "
              "/ got ++ absent from / different from / free from / opposite from / safe from / separatded from +");
    EXPECT_TRUE(SelectedRuleString(table, "形容词+形容词短语+to")
                    .ends_with("/ used to + to be / to detect / to build / to remove / to hide "));
    EXPECT_TRUE(SelectedRuleString(table, "形容词+形容词短语").ends_with("/ strict with +"));
}

TEST(AdjectiveRules, ContextTests)
{
    const TopicCase cases[] = {
        // Paired participles: both forms, the ed form tested first.
        {"形容词+成对的分词形式+boring , bored", "I am bored.", true, " bored /"},
        {"形容词+成对的分词形式+boring , bored", "A boring film.", true, " boring /"},
        {"形容词+成对的分词形式", "It was a frozen lake.", true, " frozen /"},
        // Adjective phrases need a form of be or get before the phrase.
        {"形容词+形容词短语+of", "She is afraid of dogs.", true, " is / afraid of "},
        {"形容词+形容词短语+of", "Afraid of dogs, she ran.", false},
        {"形容词+形容词短语+of", "He's fond of music.", true, "'s / fond of "},
        {"形容词+形容词短语+with", "Don't get angry with me.", true},
        {"形容词+形容词短语+to", "It is close to the station", true},
        {"形容词+形容词短语+to", "It is good to be home.", false},
        {"形容词+形容词短语", "It is good to be home.", true},
        {"形容词+形容词短语", "I was interested in music.", true},
        // Comparatives; "had better" is erased first.
        {"形容词+形容词比较级+than", "He is taller than me", false},
        {"形容词+形容词比较级+than", "It is bigger than mine", true},
        {"形容词+形容词比较级+than", "It is bigger.", false},
        {"形容词+形容词比较级", "You had better go", false},
        {"形容词+形容词比较级", "You'd better go.", false},
        {"形容词+形容词比较级", "This one is better.", true},
        // Superlatives: " the " and a word ending in "est" once the erasures are gone.
        {"形容词+形容词最高级", "It is the biggest one.", true},
        {"形容词+形容词最高级", "It is the greatest day", false},
        {"形容词+形容词最高级", "The forest is dark.", false},
        {"形容词+形容词最高级", "It is biggest.", false},
        // Entries that never match or need a blank before the punctuation.
        {"形容词+ly后缀", "A brotherly act.", false},
        {"形容词+ly后缀+\tbrotherly", "A brotherly act.", false},
        {"形容词+ly后缀", "A friendly dog.", true},
        {"形容词+位置+English-speaking", "An English-speaking country.", false},
        {"形容词+ic后缀+Olympic", "The Olympic Games.", false},
        {"形容词+类别+mineral ", "It is mineral water.", false},
        {"形容词+类别+mineral ", "It is mineral , not metal.", true},
    };
    ExpectTopicCases(cases);
}

TEST(AdverbLists, SizesEndsAndChildOrder)
{
    ExpectChildLists(
        kParentAdverbs,
        {
            {1, lists::AdverbTime, 49, " afternoon / afterwards / ago / all day / already / at once / before / dawn /",
             "/ tonight / yesterday / yet "},
            {2, lists::AdverbPlace, 56, " about / abroad / across / ahead / along / anywhere / apart / around /",
             "/ upwards / vertically / westward "},
            {3, lists::AdverbManner, 122,
             " absurdly / accidentally / accurately / admittedly / alike / alone / aloud / amply /",
             "/ wickedly / wildly / willingly "},
            {4, lists::AdverbDegree, 62,
             " abruptly / absolutely / actually / afresh / almost / altogether / amazingly / at all /",
             "/ very / well / widely "},
            {5, lists::AdverbFrequency, 23, " all the time / always ", " twice / usually "},
            {6, lists::AdverbSentence, 45,
             " again / also / apparently / as well / briefly / broadly / certainly / clearly /",
             "/unfortunately / unhappily / unluckily "},
            {7, " where / why / when / how ", 4, "", ""},
            {8, " where / why / when / how ", 4, "", ""},
            {9, lists::AdverbConjunctive, 19, " anyhow / anyway / besides / either /however /",
             " / though /thus / whenever / wherever "},
            {10, " yes /no / not /none / never / hardly ", 6, "", ""},
            {11, lists::AdverbComparative, 17, " better / earlier ", " sooner / worse "},
            {12, lists::AdverbSuperlative, 17, " best / earliest  / farthest  /", " soonest / worst "},
            {13, lists::AdverbSameAsAdjective, 28, " alike / clear ", " stright / through / very "},
        });
    EXPECT_EQ(Occurrences(lists::AdverbSentence, "perhaps "), 1);
    const std::vector<std::string> superlatives = Entries(lists::AdverbSuperlative);
    EXPECT_EQ(
        std::count_if(superlatives.begin(), superlatives.end(), [](const std::string& e) { return e.ends_with("  "); }),
        9);
    const std::vector<std::string> conjunctive = Entries(lists::AdverbConjunctive);
    EXPECT_EQ(
        std::count_if(conjunctive.begin(), conjunctive.end(), [](const std::string& e) { return !e.starts_with(' '); }),
        6);
}

TEST(AdverbRules, ContextTests)
{
    const TopicCase cases[] = {
        // Wh-adverbs only count without a question mark, in both children and for grandchild 0.
        {"副词+疑问副词+where", "Where is it?", false},
        {"副词+疑问副词+where", "I know where he lives.", true, " where /"},
        {"副词+疑问副词", "Why not?", false},
        {"副词+关系副词", "This is the town where I was born.", true},
        {"副词+关系副词+how", "How did you know?", false},
        // Two trailing blanks: only a blank before the following punctuation lets it match.
        {"副词+副词最高级+earliest ", "He came earliest.", false},
        {"副词+副词最高级+earliest ", "He came earliest , then left", true, " earliest  /"},
        // "no " has no leading blank and so also matches the end of a longer word.
        {"副词+否定肯定副词+no", "He plays the piano well.", true},
    };
    ExpectTopicCases(cases);
}

} // namespace
