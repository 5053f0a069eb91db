#include "grammar/CompiledRule.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RuleTesting.h"
#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

using namespace lectoria::grammar;

namespace {

// The normalisation written out step by step, with one PadCharacter call per recorded mark, as the
// independent measure for both normalisers.
std::string NormalizeByTheSteps(std::string_view sentence)
{
    std::string text(sentence);
    ReplaceAll(text, "o'clock", "o#clock");
    text = ' ' + text + ' ';
    for (const std::string& entry : SplitList("'s /'re /'m /'ve /'d /'t ", '/')) {
        std::string protectedForm = entry;
        protectedForm[0] = '#';
        ReplaceAll(text, entry, protectedForm);
    }
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (std::string_view(".,'!?").find(text[i]) != std::string_view::npos) {
            positions.push_back(i);
        }
    }
    for (std::size_t k = 0; k < positions.size(); ++k) {
        text = PadCharacter(text, positions[k]);
        for (std::size_t later = k + 1; later < positions.size(); ++later) {
            positions[later] += 2;
        }
    }
    std::replace(text.begin(), text.end(), '#', '\'');
    return text;
}

// Every distinct rule string of the built table, grandchild rules included.
std::vector<std::string> DistinctTableRules()
{
    const RuleTable& table = lectoria::test::BuiltRuleTable();
    std::set<std::string> rules;
    for (std::size_t p = 0; p < table.ChildRules.size(); ++p) {
        for (std::size_t c = 0; c < table.ChildRules[p].size(); ++c) {
            if (table.ChildRules[p][c] != kGrandsonFilter) {
                rules.insert(table.ChildRules[p][c]);
            }
            if (c < table.GrandchildRules[p].size()) {
                rules.insert(table.GrandchildRules[p][c].begin(), table.GrandchildRules[p][c].end());
            }
        }
    }
    return {rules.begin(), rules.end()};
}

// Words and phrases for generated sentences: every entry of every rule, without its outer blanks,
// so that word fragments ("ed", "ing ") glue onto words and phrases meet their erase entries.
std::vector<std::string> Vocabulary(const std::vector<std::string>& rules)
{
    std::set<std::string> words;
    for (const std::string& rule : rules) {
        for (const std::string& field : SplitList(rule, '+')) {
            for (const std::string& entry : SplitList(field, '/')) {
                const std::size_t first = entry.find_first_not_of(' ');
                if (first != std::string::npos) {
                    words.insert(entry.substr(first, entry.find_last_not_of(' ') - first + 1));
                }
            }
        }
    }
    return {words.begin(), words.end()};
}

// Sentences as the library holds them after lower-casing: words, often glued to a fragment,
// commas and final marks, contractions with and without a following blank, "o'clock" and '#'.
std::vector<std::string> SentenceCorpus(const std::vector<std::string>& vocabulary, std::size_t count, unsigned seed)
{
    static const char* const kExtras[] = {"o'clock", "it's",  "isn't", "we're", "i'm", "you've", "he'd",
                                          "don't",   "boys'", "'yes'", "a#b",   "$5",  "12",     "lesson"};
    static const char* const kEnds[] = {".", "?", "!", "", "...", "?!", "'", "'s", "n't"};
    std::mt19937 random(seed);
    auto pick = [&random](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };
    std::vector<std::string> sentences;
    sentences.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string sentence;
        const std::size_t words = 1 + pick(12);
        for (std::size_t w = 0; w < words; ++w) {
            const std::size_t kind = pick(10);
            sentence += kind == 0 ? kExtras[pick(std::size(kExtras))] : vocabulary[pick(vocabulary.size())];
            if (kind == 1) {
                sentence += vocabulary[pick(vocabulary.size())];
            }
            if (w + 1 < words) {
                sentence += pick(8) == 0 ? ", " : " ";
            }
        }
        sentence += kEnds[pick(std::size(kEnds))];
        sentences.push_back(ToLowerAscii(sentence));
    }
    return sentences;
}

struct Corpus
{
    std::vector<std::string> rules;
    std::vector<std::string> vocabulary;
    std::vector<std::string> sentences;
};

const Corpus& TableCorpus()
{
    static const Corpus corpus = [] {
        Corpus built;
        built.rules = DistinctTableRules();
        built.vocabulary = Vocabulary(built.rules);
        built.sentences = SentenceCorpus(built.vocabulary, 12000, 2024);
        return built;
    }();
    return corpus;
}

// A sentence made mostly of the rule's own entries, blanks and all, so that its lists decide on
// real hits: anyOf against anyAfter in either order, noneOf and erase entries beside them.
std::string SentenceForRule(const TopicRule& rule, const std::vector<std::string>& vocabulary, std::mt19937& random)
{
    auto pick = [&random](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };
    const std::vector<std::string>* lists[] = {&rule.allOf, &rule.anyOf, &rule.noneOf, &rule.anyAfter, &rule.erase};
    static const char* const kJoints[] = {" ", " ", " ", "", ", ", "'s ", ". "};
    std::string sentence;
    for (std::size_t n = 1 + pick(6); n > 0; --n) {
        const std::vector<std::string>& list = *lists[pick(std::size(lists))];
        if (pick(3) != 0 && !list.empty()) {
            sentence += list[pick(list.size())];
        } else {
            sentence += vocabulary[pick(vocabulary.size())];
        }
        sentence += kJoints[pick(std::size(kJoints))];
    }
    sentence += pick(2) == 0 ? "." : "?";
    // Searches lower-case every sentence; now and then an upper-case entry is left to match.
    return pick(10) == 0 ? sentence : ToLowerAscii(sentence);
}

// Compares both engines on one sentence; returns the verdict, or reports the difference.
bool ExpectSameResult(const TopicRule& plain, const TopicRule& fast, const std::string& ruleString,
                      const std::string& sentence, bool& failed)
{
    const MatchResult expected = MatchRulePlain(plain, sentence);
    const MatchResult actual = MatchRule(fast, sentence);
    if (actual.verdict != expected.verdict || actual.matchedWords != expected.matchedWords) {
        failed = true;
        ADD_FAILURE() << "rule \"" << ruleString << "\" on \"" << sentence << "\": plain " << expected.verdict << " \""
                      << expected.matchedWords << "\", fast " << actual.verdict << " \"" << actual.matchedWords << '"';
    }
    return expected.verdict;
}

// LECTORIA_DIFFERENTIAL_FULL=1 runs every rule over the whole corpus, which an optimised build
// does in about a minute; the sanitizer build of the test command takes a share of it.
bool FullDifferential()
{
    const char* full = std::getenv("LECTORIA_DIFFERENTIAL_FULL");
    return full != nullptr && std::string_view(full) == "1";
}

TEST(CompiledRuleDifferential, EveryTableRuleAgreesWithThePlainMatcher)
{
    const Corpus& corpus = TableCorpus();
    ASSERT_GT(corpus.rules.size(), 3000u);
    const std::size_t corpusShare = FullDifferential() ? corpus.sentences.size() : 40;
    const std::size_t ownSentences = FullDifferential() ? 200 : 40;
    std::mt19937 random(99);
    std::size_t rulesThatFound = 0;
    std::size_t next = 0;
    for (const std::string& ruleString : corpus.rules) {
        const TopicRule plain = ParseTopicRule(ruleString);
        TopicRule fast = plain;
        ASSERT_TRUE(CompileRule(fast)) << ruleString;
        bool found = false;
        bool failed = false;
        // Consecutive slices, so that together the rules go through the whole corpus.
        for (std::size_t i = 0; i < corpusShare && !failed; ++i) {
            found |= ExpectSameResult(plain, fast, ruleString, corpus.sentences[next], failed);
            next = (next + 1) % corpus.sentences.size();
        }
        for (std::size_t i = 0; i < ownSentences && !failed; ++i) {
            found |=
                ExpectSameResult(plain, fast, ruleString, SentenceForRule(plain, corpus.vocabulary, random), failed);
        }
        rulesThatFound += found ? 1 : 0;
    }
    // Sentences on which most rules never say yes would prove little.
    EXPECT_GT(rulesThatFound, corpus.rules.size() * 3 / 4);
}

TEST(CompiledRuleDifferential, SimplePresentAgreesOnManySentences)
{
    const Corpus& corpus = TableCorpus();
    const std::string ruleString = SelectedRuleString(lectoria::test::BuiltRuleTable(), "时态+现在一般时");
    const TopicRule plain = ParseTopicRule(ruleString);
    TopicRule fast = plain;
    ASSERT_TRUE(CompileRule(fast));
    std::mt19937 random(5);
    const std::size_t count = FullDifferential() ? corpus.sentences.size() : 5000;
    std::size_t found = 0;
    bool failed = false;
    for (std::size_t i = 0; i < count && !failed; ++i) {
        const std::string& sentence =
            i % 2 == 0 ? corpus.sentences[i] : SentenceForRule(plain, corpus.vocabulary, random);
        found += ExpectSameResult(plain, fast, ruleString, sentence, failed) ? 1 : 0;
    }
    EXPECT_GT(found, count / 20);
    EXPECT_LT(found, count - count / 20);
}

TEST(CompiledRuleDifferential, SelectRuleCompilesAndUseMatchEngineSwitches)
{
    TopicRule rule = SelectRule(lectoria::test::BuiltRuleTable(), "时态+现在一般时");
    ASSERT_NE(rule.compiled, nullptr);
    UseMatchEngine(rule, MatchEngine::Plain);
    EXPECT_EQ(rule.compiled, nullptr);
    UseMatchEngine(rule, MatchEngine::Fast);
    EXPECT_NE(rule.compiled, nullptr);
}

// Random rules and sentences over a tiny alphabet, where entries overlap one another, share
// prefixes and suffixes, repeat, are empty, and where deleting one erase entry joins text into an
// occurrence of a later one.
TEST(CompiledRuleFuzz, TinyAlphabetRulesAgreeWithThePlainMatcher)
{
    std::mt19937 random(7);
    auto below = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto text = [&](int maxLength) {
        static const char kAlphabet[] = {'a', 'b', ' ', 'a', 'b', '.', '\''};
        std::string out;
        for (int n = below(maxLength + 1); n > 0; --n) {
            out += kAlphabet[below(static_cast<int>(std::size(kAlphabet)))];
        }
        return out;
    };
    auto list = [&]() {
        std::vector<std::string> entries;
        for (int n = below(5); n >= 0; --n) {
            entries.push_back(text(4));
        }
        if (below(20) == 0) {
            entries.clear();
        }
        return entries;
    };
    int mismatches = 0;
    for (int round = 0; round < 20000 && mismatches < 5; ++round) {
        TopicRule rule;
        rule.allOf = list();
        rule.anyOf = list();
        rule.noneOf = list();
        rule.anyAfter = list();
        rule.erase = list();
        TopicRule fast = rule;
        ASSERT_TRUE(CompileRule(fast));
        for (int s = 0; s < 10; ++s) {
            const std::string sentence = text(14);
            const MatchResult expected = MatchRulePlain(rule, sentence);
            const MatchResult actual = MatchRule(fast, sentence);
            if (actual.verdict != expected.verdict || actual.matchedWords != expected.matchedWords) {
                ++mismatches;
                ADD_FAILURE() << "rule \"" << JoinList(rule.allOf, '/') << '+' << JoinList(rule.anyOf, '/') << '+'
                              << JoinList(rule.noneOf, '/') << '+' << JoinList(rule.anyAfter, '/') << '+'
                              << JoinList(rule.erase, '/') << "\" on \"" << sentence << '"';
            }
        }
    }
}

struct EraseCase
{
    const char* rule;
    const char* sentence;
    bool verdict;
    const char* matchedWords;
};

TEST(CompiledRuleErase, StaysSequentialWhereDeletionsMakeNewText)
{
    const EraseCase cases[] = {
        // Deleting "x" joins "ab", which the later entry then deletes; " a b " needs it gone.
        {"++ab ++x/ab", "axb c", true, ""},
        // The same entries in the other order: "ab" does not occur when its turn comes.
        {"++ab ++ab/x", "axb c", false, ""},
        // One entry twice: the second pass deletes what the first pass joined.
        {"++ab ++ab/ab", "aabb", true, ""},
        {"++ab ++ab", "aabb", false, ""},
        // An entry that occurs only after two earlier deletions.
        {"++abc ++y/x/abc", "axbyc d", true, ""},
        // Blanks trimmed from an erase entry: the phrase goes, its surrounding blanks stay.
        {"busy  . ++++ at the moment ", "i am busy at the moment.", true, "busy  . /"},
    };
    for (const EraseCase& c : cases) {
        TopicRule rule = ParseTopicRule(c.rule);
        ASSERT_TRUE(CompileRule(rule));
        const MatchResult fast = MatchRule(rule, c.sentence);
        const MatchResult plain = MatchRulePlain(rule, c.sentence);
        EXPECT_EQ(fast.verdict, c.verdict) << c.rule << " on " << c.sentence;
        EXPECT_EQ(fast.matchedWords, c.matchedWords) << c.rule << " on " << c.sentence;
        EXPECT_EQ(plain.verdict, c.verdict) << c.rule << " on " << c.sentence;
        EXPECT_EQ(plain.matchedWords, c.matchedWords) << c.rule << " on " << c.sentence;
    }
}

// Erase entries lose one blank on each side, no more, in both matchers: the blanks left inside
// an entry still take part in the deletion.
TEST(CompiledRuleErase, BothMatchersTrimOneBlankOnEachSide)
{
    const EraseCase cases[] = {
        // Three blanks leave one: every blank of the sentence goes.
        {"ab++++   ", "a b", true, "ab/"},
        // A lone blank leaves nothing to erase.
        {" a x ++++ ", "a x", true, " a x /"},
        // Two leading blanks leave one, so " x" goes with the blank before it.
        {" a y ++++  x ", "a x y", true, " a y /"},
        // Two trailing blanks leave one, so "x " goes with the blank after it.
        {" a y ++++x  ", "a x y", true, " a y /"},
        // One leading blank only: "x" goes wherever it stands, also inside a word.
        {" a  ++++ x", "ax x", true, " a  /"},
        {" ax ++++ x", "ax x", false, ""},
    };
    for (const EraseCase& c : cases) {
        TopicRule rule = ParseTopicRule(c.rule);
        ASSERT_TRUE(CompileRule(rule));
        const MatchResult fast = MatchRule(rule, c.sentence);
        const MatchResult plain = MatchRulePlain(rule, c.sentence);
        EXPECT_EQ(plain.verdict, c.verdict) << c.rule << " on " << c.sentence;
        EXPECT_EQ(plain.matchedWords, c.matchedWords) << c.rule << " on " << c.sentence;
        EXPECT_EQ(fast.verdict, c.verdict) << c.rule << " on " << c.sentence;
        EXPECT_EQ(fast.matchedWords, c.matchedWords) << c.rule << " on " << c.sentence;
    }
}

TEST(CompiledRuleLimits, EveryByteValueIsItsOwnClass)
{
    // Between them the entries hold all 256 byte values, so no byte is left to the class of bytes
    // that no entry holds.
    std::string high;
    std::string low;
    for (int b = 0; b < 128; ++b) {
        low += static_cast<char>(b);
        high += static_cast<char>(b + 128);
    }
    TopicRule rule;
    rule.anyOf = {high};
    rule.noneOf = {std::string(1, '\0'), low};
    ASSERT_TRUE(CompileRule(rule));
    std::string sentence = "x";
    sentence += high;
    EXPECT_EQ(MatchRule(rule, sentence).verdict, true);
    EXPECT_EQ(MatchRule(rule, sentence).matchedWords, high + '/');
    sentence.pop_back();
    EXPECT_EQ(MatchRule(rule, sentence).verdict, false);
    sentence += high.back();
    sentence += '\0';
    EXPECT_EQ(MatchRule(rule, sentence).verdict, false);
}

TEST(CompiledRuleLimits, TooLargeARuleStaysWithThePlainMatcher)
{
    std::string everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    TopicRule rule;
    rule.allOf = {everyByte, std::string(100000, 'z')};
    EXPECT_FALSE(CompileRule(rule));
    EXPECT_EQ(rule.compiled, nullptr);
    EXPECT_FALSE(MatchRule(rule, "zz").verdict);
}

TEST(NormalizeSentenceDifferential, OnePassEqualsTheSteps)
{
    const Corpus& corpus = TableCorpus();
    for (const std::string& sentence : corpus.sentences) {
        const std::string expected = NormalizeByTheSteps(sentence);
        ASSERT_EQ(NormalizeSentence(sentence), expected) << '"' << sentence << '"';
        ASSERT_EQ(NormalizeSentencePlain(sentence), expected) << '"' << sentence << '"';
    }
    // Every apostrophe context within a few bytes: contractions at the end, before marks, doubled,
    // "o'clock" cut short, '#' standing in for an apostrophe.
    std::mt19937 random(11);
    static const std::string_view kPieces[] = {"'",     "s", "re", "m", "ve", "d", "t", " ",       "o",
                                               "clock", "#", ".",  "?", "e",  "r", "v", "o'clock", ","};
    for (int round = 0; round < 50000; ++round) {
        std::string sentence;
        for (int n = std::uniform_int_distribution<int>(0, 7)(random); n > 0; --n) {
            sentence += kPieces[std::uniform_int_distribution<std::size_t>(0, std::size(kPieces) - 1)(random)];
        }
        ASSERT_EQ(NormalizeSentence(sentence), NormalizeByTheSteps(sentence)) << '"' << sentence << '"';
    }
}

} // namespace
