#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/TextRules.h"

namespace lectoria::grammar {

/// A TopicRule compiled into one Aho–Corasick automaton over all its entries, so that a sentence is
/// scanned once instead of being searched once per entry; its verdicts and matchedWords are those
/// of MatchRulePlain for every sentence.
class CompiledRule
{
public:
    /// Null when the automaton would outgrow its memory cap; the rule then stays with the plain matcher.
    static std::shared_ptr<const CompiledRule> Compile(const TopicRule& rule);

    MatchResult Match(std::string_view sentence) const;
    /// Match on a sentence that NormalizeSentence has already turned into tokens.
    MatchResult MatchNormalized(std::string_view normalized) const;

    std::size_t StateCount() const { return m_stateCount; }

private:
    struct StateInfo;
    struct Hits;

    CompiledRule() = default;

    bool Build(const TopicRule& rule);
    Hits Scan(std::string_view text) const;
    std::uint32_t NextErase(std::string_view text, std::uint32_t after) const;

    // Bytes that occur in no entry share class 0.
    std::array<std::uint16_t, 256> m_classOf{};
    std::size_t m_classCount = 0;
    std::size_t m_stateCount = 0;
    // One row per state: a cell per class holding the target's row offset, with the high bit set
    // when the target ends an entry, then the state's own number.
    std::vector<std::uint32_t> m_next;
    std::vector<StateInfo> m_info;
    // Per state, the ascending erase entry numbers that end there (its own and its suffixes').
    std::vector<std::uint32_t> m_eraseIds;

    std::vector<std::string> m_allOf;
    std::vector<int> m_allOfBit; ///< per allOf entry; -1 for an empty entry
    bool m_allOfByFind = false;  ///< more distinct allOf entries than mask bits: searched plainly
    std::vector<std::string> m_anyOf;
    std::vector<std::string> m_anyAfter;
    bool m_anyOfWhenNoneOccurs = true;
    bool m_anyAfterWhenNoneOccurs = true;
    std::vector<std::string> m_erasePhrases; ///< the erase entries through TrimOneBlank
};

} // namespace lectoria::grammar
