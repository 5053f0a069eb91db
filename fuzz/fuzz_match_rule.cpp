// libFuzzer target: the first line of the input holds rule strings separated by tabs, every further
// line is a sentence. Aborts when the compiled matcher, the one-pass matcher of all the rules
// together and the plain one disagree on any rule and sentence, or when a normalised sentence
// breaks one of the properties every token text has.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <vector>

#include "grammar/TextRules.h"
#include "grammar/TopicTableMatcher.h"

using namespace lectoria::grammar;

namespace {

[[noreturn]] void Fail(const char* what, std::string_view rule, std::string_view sentence)
{
    std::fprintf(stderr, "%s\nrule: \"%.*s\"\nsentence: \"%.*s\"\n", what, static_cast<int>(rule.size()), rule.data(),
                 static_cast<int>(sentence.size()), sentence.data());
    std::abort();
}

bool IsPaddedMark(char c)
{
    return c == '.' || c == ',' || c == '!' || c == '?';
}

std::string WithoutBlanks(std::string_view text, bool hashIsApostrophe)
{
    std::string out;
    for (const char c : text) {
        if (c != ' ') {
            out += hashIsApostrophe && c == '#' ? '\'' : c;
        }
    }
    return out;
}

void CheckNormalized(std::string_view rule, std::string_view sentence)
{
    const std::string text = NormalizeSentence(sentence);
    if (text != NormalizeSentencePlain(sentence)) {
        Fail("NormalizeSentence differs from NormalizeSentencePlain", rule, sentence);
    }
    if (text.size() < 2 || text.front() != ' ' || text.back() != ' ') {
        Fail("the token text does not begin and end with a blank", rule, sentence);
    }
    if (text.find('#') != std::string::npos) {
        Fail("a '#' survived normalisation", rule, sentence);
    }
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (IsPaddedMark(text[i]) && (text[i - 1] != ' ' || text[i + 1] != ' ')) {
            Fail("a mark is not padded", rule, sentence);
        }
    }
    if (WithoutBlanks(text, false) != WithoutBlanks(sentence, true)) {
        Fail("normalisation changed more than blanks and '#'", rule, sentence);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t ruleEnd = input.find('\n');
    const std::string_view ruleLine = input.substr(0, ruleEnd);
    const std::vector<std::string> ruleStrings = SplitList(ruleLine, '\t');
    std::vector<TopicRule> plain;
    std::vector<TopicRule> fast;
    for (const std::string& ruleString : ruleStrings) {
        plain.push_back(ParseTopicRule(ruleString));
        fast.push_back(plain.back());
        if (!CompileRule(fast.back())) {
            return 0;
        }
    }
    const TopicTableMatcher all(ruleStrings, ruleStrings);
    TopicScan scan(all);
    std::string_view rest = ruleEnd == std::string_view::npos ? std::string_view() : input.substr(ruleEnd + 1);
    for (;;) {
        const std::size_t lineEnd = rest.find('\n');
        const std::string_view sentence = rest.substr(0, lineEnd);
        CheckNormalized(ruleLine, sentence);
        scan.Run(sentence);
        for (std::size_t r = 0; r < ruleStrings.size(); ++r) {
            const MatchResult expected = MatchRulePlain(plain[r], sentence);
            const MatchResult actual = MatchRule(fast[r], sentence);
            if (actual.verdict != expected.verdict || actual.matchedWords != expected.matchedWords) {
                Fail("the engines disagree", ruleStrings[r], sentence);
            }
            const MatchResult together = scan.Result(r);
            if (scan.Verdict(r) != expected.verdict || together.verdict != expected.verdict ||
                together.matchedWords != expected.matchedWords) {
                Fail("the one-pass matcher disagrees", ruleStrings[r], sentence);
            }
        }
        if (lineEnd == std::string_view::npos) {
            return 0;
        }
        rest.remove_prefix(lineEnd + 1);
    }
}
