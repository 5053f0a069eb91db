// libFuzzer target: the first line of the input is a rule string, every further line a sentence.
// Aborts when the compiled matcher and the plain one disagree on any sentence, or when a
// normalised sentence breaks one of the properties every token text has.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "grammar/TextRules.h"

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
    const std::string_view ruleString = input.substr(0, ruleEnd);
    const TopicRule plain = ParseTopicRule(ruleString);
    TopicRule fast = plain;
    if (!CompileRule(fast)) {
        return 0;
    }
    std::string_view rest = ruleEnd == std::string_view::npos ? std::string_view() : input.substr(ruleEnd + 1);
    for (;;) {
        const std::size_t lineEnd = rest.find('\n');
        const std::string_view sentence = rest.substr(0, lineEnd);
        CheckNormalized(ruleString, sentence);
        const MatchResult expected = MatchRulePlain(plain, sentence);
        const MatchResult actual = MatchRule(fast, sentence);
        if (actual.verdict != expected.verdict || actual.matchedWords != expected.matchedWords) {
            Fail("the engines disagree", ruleString, sentence);
        }
        if (lineEnd == std::string_view::npos) {
            return 0;
        }
        rest.remove_prefix(lineEnd + 1);
    }
}
