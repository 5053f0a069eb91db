#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lectoria::grammar {

/// Splits a '/'- or '+'-joined list into its pieces; empty pieces stay and nothing is trimmed,
/// so a list of n separators always gives n + 1 pieces.
std::vector<std::string> SplitList(std::string_view text, char separator);

/// Joins pieces with a separator; the inverse of SplitList.
std::string JoinList(const std::vector<std::string>& pieces, char separator);

/// Returns `text` with one blank inserted before and one after the character at `position`.
std::string PadCharacter(std::string_view text, std::size_t position);

/// Turns a sentence into blank-separated tokens: a blank before and after the text and around
/// every '.', ',', '!', '?' and unprotected apostrophe; "o'clock" and the contractions
/// 's 're 'm 've 'd 't followed by a blank stay attached to their words.
std::string NormalizeSentence(std::string_view sentence);

/// Lower-cases ASCII letters only; other bytes (UTF-8 included) pass unchanged.
std::string ToLowerAscii(std::string_view text);

/// A parsed rule string: five ordered lists of literal substrings.
struct TopicRule
{
    std::vector<std::string> allOf{""};
    std::vector<std::string> anyOf{""};
    std::vector<std::string> noneOf{""};
    std::vector<std::string> anyAfter{""};
    std::vector<std::string> erase{""};
};

/// Parses "allOf+anyOf+noneOf+anyAfter+erase"; missing fields are empty, extra fields ignored.
TopicRule ParseTopicRule(std::string_view ruleString);

/// The verdict of one rule on one sentence and the entries that satisfied it.
struct MatchResult
{
    bool verdict = false;
    std::string matchedWords;
};

/// Evaluates `rule` on a sentence that the caller has already lower-cased.
MatchResult MatchRule(const TopicRule& rule, std::string_view sentence);

} // namespace lectoria::grammar
