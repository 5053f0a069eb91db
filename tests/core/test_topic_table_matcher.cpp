#include "grammar/TopicTableMatcher.h"

#include <random>
#include <set>

#include <gtest/gtest.h>

#include "RuleTesting.h"

using namespace lectoria::grammar;
using lectoria::test::BuiltRuleTable;

namespace {

const TopicTableMatcher& Matcher()
{
    static const TopicTableMatcher matcher(BuiltRuleTable());
    return matcher;
}

// Sentences built from the table's own entries, so that most rules see hits, near misses,
// erase phrases that join their neighbours into new words, and entries in either order.
std::vector<std::string> GeneratedSentences(std::size_t count)
{
    std::set<std::string> pieces;
    for (const std::string& topic : Matcher().Topics()) {
        const std::vector<std::string> fields = SplitList(SelectedRuleString(BuiltRuleTable(), topic), '+');
        for (const std::string& field : fields) {
            for (const std::string& entry : SplitList(field, '/')) {
                std::string piece = entry;
                while (!piece.empty() && piece.front() == ' ') {
                    piece.erase(piece.begin());
                }
                while (!piece.empty() && piece.back() == ' ') {
                    piece.pop_back();
                }
                if (!piece.empty()) {
                    pieces.insert(piece);
                }
            }
        }
    }
    const std::vector<std::string> all(pieces.begin(), pieces.end());
    static const char* const kGlue[] = {" ", " ", " ", "", ", ", "'", " the ", " and "};
    static const char* const kEnds[] = {".", "?", "!", "", "'s.", " o'clock."};
    std::mt19937 random(17);
    std::vector<std::string> sentences = {"", "a", "'", " .", "i'm not going to do it, am i?"};
    while (sentences.size() < count) {
        std::string sentence;
        for (int n = std::uniform_int_distribution<int>(1, 7)(random); n > 0; --n) {
            sentence += all[std::uniform_int_distribution<std::size_t>(0, all.size() - 1)(random)];
            sentence += kGlue[std::uniform_int_distribution<std::size_t>(0, std::size(kGlue) - 1)(random)];
        }
        sentence += kEnds[std::uniform_int_distribution<std::size_t>(0, std::size(kEnds) - 1)(random)];
        sentences.push_back(ToLowerAscii(sentence));
    }
    return sentences;
}

TEST(TopicTableMatcher, EveryTopicOfEverySentenceEqualsMatchRule)
{
    const TopicTableMatcher& matcher = Matcher();
    ASSERT_GT(matcher.Topics().size(), 1000u);
    std::vector<TopicRule> rules;
    for (const std::string& topic : matcher.Topics()) {
        rules.push_back(SelectRule(BuiltRuleTable(), topic));
    }
    TopicScan scan(matcher);
    std::size_t verdicts = 0;
    std::size_t erasedTrue = 0;
    for (const std::string& sentence : GeneratedSentences(150)) {
        scan.Run(sentence);
        for (std::size_t t = 0; t < rules.size(); ++t) {
            const MatchResult expected = MatchRulePlain(rules[t], sentence);
            const MatchResult actual = scan.Result(t);
            ASSERT_EQ(scan.Verdict(t), expected.verdict) << matcher.Topics()[t] << " on \"" << sentence << '"';
            ASSERT_EQ(actual.verdict, expected.verdict) << matcher.Topics()[t] << " on \"" << sentence << '"';
            ASSERT_EQ(actual.matchedWords, expected.matchedWords) << matcher.Topics()[t] << " on \"" << sentence << '"';
            verdicts += expected.verdict ? 1 : 0;
            erasedTrue += expected.verdict && rules[t].erase.size() > 1 ? 1 : 0;
        }
        // Counting trusts that a rule the sentence did not decide kept its default verdict.
        std::vector<bool> decided(matcher.RuleCount());
        for (const std::uint32_t r : scan.DecidedRules()) {
            ASSERT_FALSE(decided[r]) << "rule " << r << " listed twice on \"" << sentence << '"';
            decided[r] = true;
        }
        for (std::uint32_t r = 0; r < matcher.RuleCount(); ++r) {
            if (!decided[r]) {
                ASSERT_EQ(scan.RuleVerdict(r), matcher.DefaultVerdict(r))
                    << "rule " << r << " on \"" << sentence << '"';
            }
        }
    }
    // The corpus must reach both verdicts, including rules that erase, or it proves little.
    EXPECT_GT(verdicts, 1000u);
    EXPECT_GT(erasedTrue, 10u);
}

TEST(TopicTableMatcher, RulesOutsideATableKeepOrderErasingAndDuplicates)
{
    // Erasing " not" joins "can" and "go" into "cango"; erasing "x" joins "ab", which an earlier
    // phrase of the list does not erase again, nor the phrase itself where its erasing joins it anew;
    // duplicates count once; anyOf before anyAfter.
    const std::vector<std::string> rules = {
        "cango+++++ not", " a / a + b / c +++",    "+ x / y ++ z / x +",  "+x/+ ++", "ab++++ab/x/ab",
        "++ w + ++",      "a/a/ b ++++ b / b /zz", "+ he + she + is +is", "++++",    "ab++++ab/x",
    };
    std::vector<std::string> topics;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        topics.push_back("t" + std::to_string(i));
    }
    const TopicTableMatcher matcher(topics, rules);
    TopicScan scan(matcher);
    for (const char* sentence : {"i can not go.", "a b c", " z x y", "y then x and z", "he is she", "w", "a zz b",
                                 "b and b", "x", "nothing", "can not not go", "axb", "axxb", "aabb"}) {
        scan.Run(sentence);
        for (std::size_t t = 0; t < rules.size(); ++t) {
            const MatchResult expected = MatchRulePlain(ParseTopicRule(rules[t]), sentence);
            EXPECT_EQ(scan.Verdict(t), expected.verdict) << rules[t] << " on " << sentence;
            EXPECT_EQ(scan.Result(t).matchedWords, expected.matchedWords) << rules[t] << " on " << sentence;
        }
    }
}

TEST(TopicTableMatcher, OnlyARuleWithoutWordsIsSaidToPassEverySentence)
{
    // An erase list alone changes nothing; an anyOf list of empty entries is not passed.
    const std::vector<std::pair<std::string, bool>> cases = {
        {"++++", true},  {"++++ab/x", true}, {"+ / ++ +", false}, {"a+++", false},
        {"+a++", false}, {"++a+", false},    {"+++a", false},     {"+++here/x", false},
    };
    std::vector<std::string> topics;
    std::vector<std::string> rules;
    for (const auto& [rule, passes] : cases) {
        topics.push_back("t" + std::to_string(topics.size()));
        rules.push_back(rule);
    }
    const TopicTableMatcher matcher(topics, rules);
    for (std::size_t t = 0; t < cases.size(); ++t) {
        EXPECT_EQ(matcher.PassesEverySentence(t), cases[t].second) << cases[t].first;
        bool passedAll = true;
        for (const char* sentence : {"", "a", "b a", "x ab", "nothing here"}) {
            passedAll = passedAll && MatchRulePlain(ParseTopicRule(cases[t].first), sentence).verdict;
        }
        EXPECT_EQ(passedAll, cases[t].second) << cases[t].first << " by the plain matcher";
    }
}

TEST(AllTopicsOf, ListsThePassingTopicsInTableOrderWithTheirWords)
{
    const TopicTableMatcher& matcher = Matcher();
    const std::string sentence = "he has never seen a whale.";
    std::vector<TopicMatch> expected;
    for (const std::string& topic : matcher.Topics()) {
        const MatchResult result = MatchRulePlain(SelectRule(BuiltRuleTable(), topic), sentence);
        if (result.verdict) {
            expected.push_back({topic, result.matchedWords});
        }
    }
    const std::vector<TopicMatch> actual = AllTopicsOf(matcher, sentence);
    ASSERT_EQ(actual.size(), expected.size());
    ASSERT_GT(actual.size(), 3u);
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].selection, expected[i].selection);
        EXPECT_EQ(actual[i].matchedWords, expected[i].matchedWords);
    }
}

} // namespace
