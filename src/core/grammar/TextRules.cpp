#include "grammar/TextRules.h"

#include "grammar/CompiledRule.h"

#include <algorithm>

namespace lectoria::grammar {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to)
{
    if (from.empty()) {
        return;
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, start)) {
        out.append(text, start, hit - start);
        out.append(to);
        start = hit + from.size();
    }
    if (start == 0) {
        return;
    }
    out.append(text, start, std::string::npos);
    text.swap(out);
}

namespace {

bool IsPaddedMark(char c)
{
    return c == '.' || c == ',' || c == '\'' || c == '!' || c == '?';
}

// The anyOf and anyAfter lists share one rule: the first entry in list order that occurs
// decides, an empty entry counts as satisfied, and otherwise the last entry examined decides.
bool FirstOccurring(const std::vector<std::string>& entries, const std::string& text, std::ptrdiff_t& position,
                    const std::string** found)
{
    bool flag = true;
    position = -1;
    *found = nullptr;
    for (const std::string& entry : entries) {
        if (entry.empty()) {
            flag = true;
            continue;
        }
        const std::size_t hit = text.find(entry);
        if (hit != std::string::npos) {
            position = static_cast<std::ptrdiff_t>(hit);
            *found = &entry;
            return true;
        }
        flag = false;
    }
    return flag;
}

} // namespace

std::vector<std::string> SplitList(std::string_view text, char separator)
{
    std::vector<std::string> pieces;
    pieces.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), separator)) + 1);
    std::size_t start = 0;
    for (;;) {
        const std::size_t next = text.find(separator, start);
        if (next == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, next - start));
        start = next + 1;
    }
}

std::string JoinList(const std::vector<std::string>& pieces, char separator)
{
    std::string out;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        out += pieces[i];
    }
    return out;
}

std::string_view TrimOneBlank(std::string_view entry)
{
    if (!entry.empty() && entry.front() == ' ') {
        entry.remove_prefix(1);
    }
    if (!entry.empty() && entry.back() == ' ') {
        entry.remove_suffix(1);
    }
    return entry;
}

std::string PadCharacter(std::string_view text, std::size_t position)
{
    std::string out;
    out.reserve(text.size() + 2);
    out.append(text.substr(0, position));
    out += ' ';
    out += text[position];
    out += ' ';
    out.append(text.substr(position + 1));
    return out;
}

namespace {

// Whether the apostrophe at `i` starts one of the contractions 's 're 'm 've 'd 't followed by a
// blank; the blank added after the sentence counts.
bool StartsProtectedContraction(std::string_view sentence, std::size_t i)
{
    auto at = [sentence](std::size_t k) {
        return k < sentence.size() ? sentence[k] : k == sentence.size() ? ' ' : '\0';
    };
    switch (at(i + 1)) {
    case 's':
    case 'm':
    case 'd':
    case 't':
        return at(i + 2) == ' ';
    case 'r':
    case 'v':
        return at(i + 2) == 'e' && at(i + 3) == ' ';
    default:
        return false;
    }
}

bool IsOClockApostrophe(std::string_view sentence, std::size_t i)
{
    return i > 0 && sentence[i - 1] == 'o' && sentence.substr(i + 1, 5) == "clock";
}

} // namespace

// One pass instead of the replacements and paddings of NormalizeSentencePlain. That is exact because
// "o'clock" cannot overlap itself, the six contractions cannot overlap one another, and neither kind
// of replacement changes a byte that another one looks at.
std::string NormalizeSentence(std::string_view sentence)
{
    std::string text;
    NormalizeSentenceInto(sentence, text);
    return text;
}

void NormalizeSentenceInto(std::string_view sentence, std::string& text)
{
    text.assign(sentence.size() * 3 + 2, ' ');
    char* out = text.data() + 1;
    for (std::size_t i = 0; i < sentence.size(); ++i) {
        const char c = sentence[i];
        switch (c) {
        case '\'':
            if (IsOClockApostrophe(sentence, i) || StartsProtectedContraction(sentence, i)) {
                *out++ = c;
            } else {
                out[1] = c;
                out += 3;
            }
            break;
        case '.':
        case ',':
        case '!':
        case '?':
            out[1] = c;
            out += 3;
            break;
        case '#':
            *out++ = '\'';
            break;
        default:
            *out++ = c;
            break;
        }
    }
    ++out;
    text.resize(static_cast<std::size_t>(out - text.data()));
}

std::string NormalizeSentencePlain(std::string_view sentence)
{
    std::string text(sentence);
    ReplaceAll(text, "o'clock", "o#clock");
    text = ' ' + text + ' ';
    // Contractions followed by a blank are protected with '#' so that the apostrophe is not padded.
    static const char* const contractions[] = {"'s ", "'re ", "'m ", "'ve ", "'d ", "'t "};
    for (const char* entry : contractions) {
        std::string protectedForm(entry);
        protectedForm[0] = '#';
        ReplaceAll(text, entry, protectedForm);
    }
    // Padding every recorded mark in ascending order is the same as rewriting each one in a
    // single pass, since every insertion shifts only the positions after it.
    std::string padded;
    padded.reserve(text.size() + text.size() / 4 + 4);
    for (char c : text) {
        if (IsPaddedMark(c)) {
            padded += ' ';
            padded += c;
            padded += ' ';
        } else {
            padded += c;
        }
    }
    std::replace(padded.begin(), padded.end(), '#', '\'');
    return padded;
}

std::string ToLowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

TopicRule ParseTopicRule(std::string_view ruleString)
{
    const std::vector<std::string> fields = SplitList(ruleString, '+');
    auto field = [&fields](std::size_t i) {
        return i < fields.size() ? SplitList(fields[i], '/') : std::vector<std::string>{""};
    };
    TopicRule rule;
    rule.allOf = field(0);
    rule.anyOf = field(1);
    rule.noneOf = field(2);
    rule.anyAfter = field(3);
    rule.erase = field(4);
    return rule;
}

bool CompileRule(TopicRule& rule)
{
    rule.compiled = CompiledRule::Compile(rule);
    return rule.compiled != nullptr;
}

void UseMatchEngine(TopicRule& rule, MatchEngine engine)
{
    if (engine == MatchEngine::Plain) {
        rule.compiled.reset();
    } else if (!rule.compiled) {
        CompileRule(rule);
    }
}

MatchResult MatchRule(const TopicRule& rule, std::string_view sentence)
{
    return rule.compiled ? rule.compiled->Match(sentence) : MatchRulePlain(rule, sentence);
}

MatchResult MatchCompiledRule(const TopicRule& rule, std::string_view normalized)
{
    return rule.compiled->MatchNormalized(normalized);
}

bool PassesEverySentence(const TopicRule& rule)
{
    const std::vector<std::string>* lists[] = {&rule.allOf, &rule.anyOf, &rule.noneOf, &rule.anyAfter, &rule.erase};
    for (const std::vector<std::string>* list : lists) {
        for (const std::string& entry : *list) {
            if (!entry.empty()) {
                return false;
            }
        }
    }
    return true;
}

MatchResult MatchRulePlain(const TopicRule& rule, std::string_view sentence)
{
    MatchResult result;
    std::string s = NormalizeSentencePlain(sentence);

    for (const std::string& entry : rule.erase) {
        ReplaceAll(s, TrimOneBlank(entry), "");
    }

    bool allOf = true;
    for (const std::string& entry : rule.allOf) {
        if (entry.empty()) {
            allOf = true;
            continue;
        }
        if (s.find(entry) == std::string::npos) {
            allOf = false;
            break;
        }
        allOf = true;
        result.matchedWords = entry + '/';
    }

    std::ptrdiff_t anyOfPosition = -1;
    const std::string* anyOfEntry = nullptr;
    const bool anyOf = FirstOccurring(rule.anyOf, s, anyOfPosition, &anyOfEntry);
    if (anyOfEntry != nullptr) {
        result.matchedWords += *anyOfEntry;
        result.matchedWords += '/';
    }

    bool noneOf = true;
    for (const std::string& entry : rule.noneOf) {
        if (!entry.empty() && s.find(entry) != std::string::npos) {
            noneOf = false;
            break;
        }
    }

    std::ptrdiff_t anyAfterPosition = -1;
    const std::string* anyAfterEntry = nullptr;
    const bool anyAfter = FirstOccurring(rule.anyAfter, s, anyAfterPosition, &anyAfterEntry);
    if (anyAfterEntry != nullptr) {
        result.matchedWords += *anyAfterEntry;
    }

    bool inOrder = true;
    if (anyOfPosition != -1 && anyAfterPosition != -1) {
        inOrder = anyOfPosition < anyAfterPosition;
    }

    result.verdict = allOf && anyOf && noneOf && anyAfter && inOrder;
    return result;
}

} // namespace lectoria::grammar
