#include "grammar/TextRules.h"

#include <gtest/gtest.h>

using namespace lectoria::grammar;

namespace {

struct SplitCase
{
    const char* text;
    char separator;
    std::vector<std::string> pieces;
};

TEST(SplitList, KeepsEmptyPiecesAndTrimsNothing)
{
    const SplitCase cases[] = {
        {"", '/', {""}},
        {"a//b", '/', {"a", "", "b"}},
        {"a/", '/', {"a", ""}},
        {"/", '/', {"", ""}},
        {" an / a / the ", '/', {" an ", " a ", " the "}},
        {"++++", '+', {"", "", "", "", ""}},
        {"a/b+c", '+', {"a/b", "c"}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(SplitList(c.text, c.separator), c.pieces) << '"' << c.text << '"';
    }
}

TEST(SplitList, JoinListIsItsInverse)
{
    for (const char* text : {"", "a//b", "/", " x / y "}) {
        EXPECT_EQ(JoinList(SplitList(text, '/'), '/'), text);
    }
}

TEST(PadCharacter, InsertsOneBlankOnEachSide)
{
    EXPECT_EQ(PadCharacter("ab.c", 2), "ab . c");
    EXPECT_EQ(PadCharacter(".", 0), " . ");
    EXPECT_EQ(PadCharacter("ab?", 2), "ab ? ");
}

struct NormalizeCase
{
    const char* sentence;
    const char* normalized;
};

TEST(NormalizeSentence, PadsMarksAndProtectsContractions)
{
    const NormalizeCase cases[] = {
        {"it's five o'clock, isn't it?", " it's five o'clock ,  isn't it ?  "},
        {"", "  "},
        {"at five o'clock.", " at five o'clock .  "},
        // A contraction directly before punctuation has no blank after it and is not protected.
        {"no, it isn't.", " no ,  it isn ' t .  "},
        {"it isn't true.", " it isn't true .  "},
        // A '#' the sentence itself holds comes out as an apostrophe, unpadded.
        {"a#b", " a'b "},
        {"we're here; you've seen: 'yes' i'm sure he'd go", " we're here; you've seen:  ' yes '  i'm sure he'd go "},
        {"the boys' books", " the boys '  books "},
        {"wait!!", " wait !  !  "},
        {"o'clock's", " o'clock's "},
        {"$5.50", " $5 . 50 "},
    };
    for (const NormalizeCase& c : cases) {
        EXPECT_EQ(NormalizeSentence(c.sentence), c.normalized) << '"' << c.sentence << '"';
    }
}

TEST(NormalizeSentence, LeavesOtherBytesAlone)
{
    const std::string utf8 = "caf\xc3\xa9 \xe4\xbd\xa0";
    EXPECT_EQ(NormalizeSentence(utf8), " " + utf8 + " ");
}

TEST(ParseTopicRule, FillsMissingFieldsAndIgnoresExtraOnes)
{
    const TopicRule rule = ParseTopicRule("$+0/1+lesson ");
    EXPECT_EQ(rule.allOf, std::vector<std::string>{"$"});
    EXPECT_EQ(rule.anyOf, (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(rule.noneOf, std::vector<std::string>{"lesson "});
    EXPECT_EQ(rule.anyAfter, std::vector<std::string>{""});
    EXPECT_EQ(rule.erase, std::vector<std::string>{""});

    const TopicRule extra = ParseTopicRule("a+b+c+d+e+f+g");
    EXPECT_EQ(extra.erase, std::vector<std::string>{"e"});
}

struct MatchCase
{
    const char* rule;
    const char* sentence;
    bool verdict;
    const char* matchedWords;
};

TEST(MatchRule, Verdicts)
{
    const MatchCase cases[] = {
        {"++++", "", true, ""},
        {"++++", "anything at all.", true, ""},
        {"+ an / a / the +++", "an apple.", true, " an /"},
        {"+ an / a / the +++", "banana.", false, ""},
        {"lesson +0/1/2/3/4/5/6/7/8/9+++", "lesson 12", true, "lesson /1/"},
        {"lesson +0/1/2/3/4/5/6/7/8/9+++", "lessons 12", false, "1/"},
        {"$+0/1/2/3/4/5/6/7/8/9+lesson ++", "it costs $5.", true, "$/5/"},
        {"$+0/1/2/3/4/5/6/7/8/9+lesson ++", "lesson 5 costs $5.", false, "$/5/"},
        // The erase list runs first, so a phrase it removes cannot satisfy the rule.
        {"+ the moment +++ at the moment ", "i am busy at the moment.", false, ""},
        {"+ the moment +++ at the moment ", "the moment he came, i left.", true, " the moment /"},
        {"+n't ++++", "no, it isn't.", false, ""},
        {"+n't ++++", "it isn't true.", true, "n't /"},
        {"+ if ++ would +", "if i were you, i would go.", true, " if / would "},
        {"+ if ++ would +", "i would go if i could.", false, " if / would "},
        // Only the last allOf entry is kept.
        {"?/,++++", "well, is it?", true, ",/"},
        {"?/,++++", "well, it is.", false, ""},
        // The first anyOf entry in list order decides, not the leftmost hit.
        {"+ b / a ++ c +", "a c b", false, " b / c "},
        // anyOf: a trailing entry that does not occur fails the list unless an earlier one occurred,
        // and an empty entry counts as satisfied.
        {"+ x /++++", "a b", true, ""},
        {"+/ x +++", "a b", false, ""},
        {"++ x / b ++", "a b", false, ""},
        {"++/ x ++", "a b", true, ""},
        // Erasing is one pass per entry, in list order; what a deletion joins is not searched again.
        {" ab ++++ab", "aabb", true, " ab /"},
        {" ab ++++ab/cd", "acdb", true, " ab /"},
        {" ab ++++cd/ab", "acdb", false, ""},
        {"++++ / ", "a", true, ""},
    };
    for (const MatchCase& c : cases) {
        const MatchResult result = MatchRule(ParseTopicRule(c.rule), c.sentence);
        EXPECT_EQ(result.verdict, c.verdict) << c.rule << " on \"" << c.sentence << '"';
        EXPECT_EQ(result.matchedWords, c.matchedWords) << c.rule << " on \"" << c.sentence << '"';
    }
}

TEST(MatchRule, ErasedPhraseLeavesItsSurroundingBlanks)
{
    // After erasing "at the moment" the text is " i am busy  .  ": "busy  ." holds two blanks.
    EXPECT_TRUE(MatchRule(ParseTopicRule("busy  . ++++ at the moment "), "i am busy at the moment.").verdict);
    EXPECT_FALSE(MatchRule(ParseTopicRule("busy . ++++ at the moment "), "i am busy at the moment.").verdict);
}

TEST(ToLowerAscii, LowersOnlyAsciiLetters)
{
    EXPECT_EQ(ToLowerAscii("Is It YOUR Coat? \xc3\x89"), "is it your coat? \xc3\x89");
}

} // namespace
