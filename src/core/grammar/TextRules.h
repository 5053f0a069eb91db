#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lectoria::grammar {

class CompiledRule;

/// Splits a '/'- or '+'-joined list into its pieces; empty pieces stay and nothing is trimmed,
/// so a list of n separators always gives n + 1 pieces.
std::vector<std::string> SplitList(std::string_view text, char separator);

/// Joins pieces with a separator; the inverse of SplitList.
std::string JoinList(const std::vector<std::string>& pieces, char separator);

/// Replaces every occurrence of `from` in one left-to-right pass; text that a replacement produces
/// is not searched again. An empty `from` changes nothing.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

/// Drops one leading and then one trailing blank, no more: an erase entry becomes the phrase that
/// both matchers delete, and a grandchild list entry the name its box shows. A lone blank gives "".
std::string_view TrimOneBlank(std::string_view entry);

/// Returns `text` with one blank inserted before and one after the character at `position`.
std::string PadCharacter(std::string_view text, std::size_t position);

/// Turns a sentence into blank-separated tokens: a blank before and after the text and around
/// every '.', ',', '!', '?' and unprotected apostrophe; "o'clock" and the contractions
/// 's 're 'm 've 'd 't followed by a blank stay attached to their words.
std::string NormalizeSentence(std::string_view sentence);

/// NormalizeSentence into a buffer the caller reuses, so that normalising costs no allocation once
/// the buffer has grown.
void NormalizeSentenceInto(std::string_view sentence, std::string& text);

/// The same text as NormalizeSentence, built step by step: replacements, then padding. The reference
/// that the one-pass NormalizeSentence is checked against and the normaliser of MatchRulePlain.
std::string NormalizeSentencePlain(std::string_view sentence);

/// Lower-cases ASCII letters only; other bytes (UTF-8 included) pass unchanged.
std::string ToLowerAscii(std::string_view text);

/// A parsed rule string: five ordered lists of literal substrings, and optionally their compiled form.
struct TopicRule
{
    std::vector<std::string> allOf{""};
    std::vector<std::string> anyOf{""};
    std::vector<std::string> noneOf{""};
    std::vector<std::string> anyAfter{""};
    std::vector<std::string> erase{""};
    /// Set by CompileRule from the five lists as they were then; a rule whose lists change
    /// afterwards must be compiled again (or have this reset) before it is matched.
    std::shared_ptr<const CompiledRule> compiled;
};

/// Which matcher evaluates a rule: the entry-by-entry reference or the compiled automaton.
enum class MatchEngine
{
    Plain,
    Fast,
};

/// Parses "allOf+anyOf+noneOf+anyAfter+erase"; missing fields are empty, extra fields ignored.
TopicRule ParseTopicRule(std::string_view ruleString);

/// The verdict of one rule on one sentence and the entries that satisfied it.
struct MatchResult
{
    bool verdict = false;
    std::string matchedWords;
};

/// Compiles the rule's lists for MatchRule, once per search. Returns false, leaving the rule to the
/// plain matcher, when the lists are too large for the automaton's memory cap.
bool CompileRule(TopicRule& rule);

/// Plain drops the rule's compiled form; Fast compiles the rule unless it already carries one.
void UseMatchEngine(TopicRule& rule, MatchEngine engine);

/// Evaluates `rule` on a sentence that the caller has already lower-cased: with the compiled form when
/// the rule carries one, otherwise as MatchRulePlain. Both give the same result.
MatchResult MatchRule(const TopicRule& rule, std::string_view sentence);

/// MatchRule on a sentence that NormalizeSentence has already turned into tokens, for callers that
/// normalise once for several tests; `rule` must carry its compiled form.
MatchResult MatchCompiledRule(const TopicRule& rule, std::string_view normalized);

/// Whether every list of the rule holds only empty entries, so that it passes every sentence and
/// matches no words.
bool PassesEverySentence(const TopicRule& rule);

/// The reference matcher: one first-occurrence search per entry, ignoring any compiled form.
MatchResult MatchRulePlain(const TopicRule& rule, std::string_view sentence);

} // namespace lectoria::grammar
