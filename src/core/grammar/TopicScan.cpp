#include "grammar/TopicTableMatcher.h"

#include <algorithm>
#include <memory>

namespace lectoria::grammar {

using topic_table::kEndsLiteral;
using topic_table::kNone;
using topic_table::kOffsetMask;

TopicScan::TopicScan(const TopicTableMatcher& matcher)
    : m_matcher(matcher), m_ruleStamp(matcher.m_rules.size(), 0), m_ruleState(matcher.m_rules.size()),
      m_verdict(matcher.m_rules.size()), m_erasedText(matcher.m_eraseGroups.size()),
      m_erased(matcher.m_eraseGroups.size()), m_groupStamp(matcher.m_eraseGroups.size(), 0)
{
    for (Occurrences* occurrences : {&m_occurrences, &m_erasedOccurrences}) {
        occurrences->stamp.assign(matcher.m_literals.size(), 0);
        occurrences->position.assign(matcher.m_literals.size(), 0);
    }
}

void TopicScan::Scan(std::string_view text, Occurrences& occurrences) const
{
    ++occurrences.current;
    occurrences.found.clear();
    const std::uint32_t* next = m_matcher.m_next.data();
    const std::size_t width = m_matcher.m_classCount;
    std::uint32_t cell = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        cell = next[(cell & kOffsetMask) + m_matcher.m_classOf[static_cast<unsigned char>(text[i])]];
        if ((cell & kEndsLiteral) == 0) {
            continue;
        }
        std::uint32_t state = (cell & kOffsetMask) / static_cast<std::uint32_t>(width);
        if (m_matcher.m_outLiteral[state] == kNone) {
            state = m_matcher.m_outLink[state];
        }
        // Reports come in order of their end, so a literal's first report is its first occurrence.
        for (; state != kNone; state = m_matcher.m_outLink[state]) {
            const std::uint32_t literal = m_matcher.m_outLiteral[state];
            if (occurrences.stamp[literal] != occurrences.current) {
                occurrences.stamp[literal] = occurrences.current;
                occurrences.position[literal] =
                    static_cast<std::uint32_t>(i + 1 - m_matcher.m_literals[literal].size());
                occurrences.found.push_back(literal);
            }
        }
    }
}

inline void TopicScan::ResetRule(std::uint32_t r)
{
    m_ruleStamp[r] = m_pass;
    m_ruleState[r].counters = {0, kNone, kNone, kNone};
}

inline void TopicScan::Count(const TopicTableMatcher::Posting& posting, RuleState& state)
{
    if (posting.field == TopicTableMatcher::AllOf) {
        ++state.counters[TopicTableMatcher::AllOf];
    } else {
        std::uint32_t& slot = state.counters[posting.field];
        slot = std::min<std::uint32_t>(slot, posting.index);
    }
}

void TopicScan::Accumulate(const Occurrences& occurrences)
{
    const TopicTableMatcher::Posting* postings = m_matcher.m_postings.data();
    for (const std::uint32_t literal : occurrences.found) {
        const auto* posting = postings + m_matcher.m_postingBegin[literal];
        for (const auto* end = postings + m_matcher.m_postingSplit[literal]; posting != end; ++posting) {
            const std::uint32_t r = posting->rule;
            if (m_ruleStamp[r] != m_pass) {
                ResetRule(r);
                m_touched.push_back(r);
            }
            Count(*posting, m_ruleState[r]);
        }
    }
    // Every gate has been seen, so a rule not woken by now keeps its default verdict.
    for (const std::uint32_t literal : occurrences.found) {
        const auto* posting = postings + m_matcher.m_postingSplit[literal];
        for (const auto* end = postings + m_matcher.m_postingBegin[literal + 1]; posting != end; ++posting) {
            const std::uint32_t r = posting->rule;
            if (m_ruleStamp[r] == m_pass) {
                Count(*posting, m_ruleState[r]);
            }
        }
    }
}

void TopicScan::AccumulateGroup(const Occurrences& occurrences, std::uint32_t group)
{
    const auto& rules = m_matcher.m_rules;
    const TopicTableMatcher::Posting* postings = m_matcher.m_postings.data();
    for (const std::uint32_t literal : occurrences.found) {
        const auto* end = postings + m_matcher.m_postingBegin[literal + 1];
        for (const auto* posting = postings + m_matcher.m_postingBegin[literal]; posting != end; ++posting) {
            if (rules[posting->rule].eraseGroup == group) {
                Count(*posting, m_ruleState[posting->rule]);
            }
        }
    }
}

inline bool TopicScan::Decide(std::uint32_t r, const Occurrences& occurrences) const
{
    const TopicTableMatcher::Rule& rule = m_matcher.m_rules[r];
    const RuleState& state = m_ruleState[r];
    if (state.counters[TopicTableMatcher::AllOf] != rule.allOfNeeded ||
        state.counters[TopicTableMatcher::NoneOf] != kNone) {
        return false;
    }
    const std::uint32_t anyOf = state.counters[TopicTableMatcher::AnyOf];
    const std::uint32_t anyAfter = state.counters[TopicTableMatcher::AnyAfter];
    if ((anyOf == kNone && !rule.anyOfWhenNoneOccurs) || (anyAfter == kNone && !rule.anyAfterWhenNoneOccurs)) {
        return false;
    }
    if (anyOf != kNone && anyAfter != kNone) {
        return occurrences.position[rule.lists[TopicTableMatcher::AnyOf][anyOf]] <
               occurrences.position[rule.lists[TopicTableMatcher::AnyAfter][anyAfter]];
    }
    return true;
}

// Erasing stays sequential, as in MatchRule: a deletion can join text into a new occurrence of a
// later phrase, so the text is scanned again after each one. A list may hold a thousand phrases
// and a sentence a few dozen literals: the next phrase to erase is found from the literals.
bool TopicScan::Erase(std::uint32_t group, std::string& text, Occurrences& occurrences) const
{
    const std::uint32_t* places = m_matcher.m_phrasePlaces.data();
    bool changed = false;
    for (std::uint32_t from = 0;;) {
        std::uint32_t next = kNone;
        std::uint32_t phrase = kNone;
        for (const std::uint32_t literal : occurrences.found) {
            for (std::uint32_t k = m_matcher.m_groupsBegin[literal]; k < m_matcher.m_groupsBegin[literal + 1]; ++k) {
                const TopicTableMatcher::GroupUse& use = m_matcher.m_groupsOfLiteral[k];
                if (use.group != group) {
                    continue;
                }
                const std::uint32_t* place = std::lower_bound(places + use.placesBegin, places + use.placesEnd, from);
                if (place != places + use.placesEnd && *place < next) {
                    next = *place;
                    phrase = literal;
                }
                break;
            }
        }
        if (next == kNone) {
            return changed;
        }
        ReplaceAll(text, m_matcher.m_literals[phrase], "");
        Scan(text, occurrences);
        changed = true;
        from = next + 1;
    }
}

void TopicScan::Run(std::string_view sentence)
{
    NormalizeSentenceInto(sentence, m_normalized);
    RunNormalized(m_normalized);
}

void TopicScan::RunNormalized(std::string_view normalized)
{
    ++m_pass;
    m_touched.clear();
    Scan(normalized, m_occurrences);
    Accumulate(m_occurrences);
    for (const std::uint32_t r : m_touched) {
        m_verdict[r] = Decide(r, m_occurrences) ? 1 : 0;
    }

    for (const std::uint32_t g : m_erasedGroups) {
        m_erased[g] = 0;
    }
    m_erasedGroups.clear();
    m_touchedGroups.clear();
    for (const std::uint32_t literal : m_occurrences.found) {
        for (std::uint32_t k = m_matcher.m_groupsBegin[literal]; k < m_matcher.m_groupsBegin[literal + 1]; ++k) {
            const std::uint32_t g = m_matcher.m_groupsOfLiteral[k].group;
            if (m_groupStamp[g] != m_pass) {
                m_groupStamp[g] = m_pass;
                m_touchedGroups.push_back(g);
            }
        }
    }
    for (const std::uint32_t g : m_touchedGroups) {
        const TopicTableMatcher::EraseGroup& group = m_matcher.m_eraseGroups[g];
        std::string& text = m_erasedText[g];
        text.assign(normalized);
        m_erasedOccurrences.found = m_occurrences.found;
        ++m_erasedOccurrences.current;
        for (const std::uint32_t literal : m_occurrences.found) {
            m_erasedOccurrences.stamp[literal] = m_erasedOccurrences.current;
            m_erasedOccurrences.position[literal] = m_occurrences.position[literal];
        }
        if (!Erase(g, text, m_erasedOccurrences)) {
            continue;
        }
        m_erased[g] = 1;
        m_erasedGroups.push_back(g);
        for (const std::uint32_t r : group.rules) {
            // The erased text is counted afresh, also for rules the full text touched.
            if (m_ruleStamp[r] != m_pass) {
                m_touched.push_back(r);
            }
            ResetRule(r);
        }
        AccumulateGroup(m_erasedOccurrences, g);
        for (const std::uint32_t r : group.rules) {
            m_verdict[r] = Decide(r, m_erasedOccurrences) ? 1 : 0;
        }
    }
}

MatchResult TopicScan::Evaluate(std::uint32_t r, const Occurrences& occurrences) const
{
    const TopicTableMatcher::Rule& rule = m_matcher.m_rules[r];
    const auto& literals = m_matcher.m_literals;
    MatchResult result;
    result.verdict = RuleVerdict(r);
    for (const std::uint32_t literal : rule.lists[TopicTableMatcher::AllOf]) {
        if (literal == kNone) {
            continue;
        }
        if (!occurrences.Has(literal)) {
            break;
        }
        result.matchedWords = literals[literal] + '/';
    }
    auto firstOccurring = [&](TopicTableMatcher::Field field) {
        for (const std::uint32_t literal : rule.lists[field]) {
            if (literal != kNone && occurrences.Has(literal)) {
                return literal;
            }
        }
        return kNone;
    };
    if (const std::uint32_t anyOf = firstOccurring(TopicTableMatcher::AnyOf); anyOf != kNone) {
        result.matchedWords += literals[anyOf];
        result.matchedWords += '/';
    }
    if (const std::uint32_t anyAfter = firstOccurring(TopicTableMatcher::AnyAfter); anyAfter != kNone) {
        result.matchedWords += literals[anyAfter];
    }
    return result;
}

MatchResult TopicScan::Result(std::size_t topic) const
{
    const std::uint32_t r = m_matcher.m_ruleOfTopic[topic];
    const std::uint32_t group = m_matcher.m_rules[r].eraseGroup;
    if (group != kNone && m_erased[group] != 0) {
        Scan(m_erasedText[group], m_erasedOccurrences);
        return Evaluate(r, m_erasedOccurrences);
    }
    return Evaluate(r, m_occurrences);
}

std::vector<TopicMatch> AllTopicsOf(const TopicTableMatcher& matcher, std::string_view sentence)
{
    thread_local std::unique_ptr<TopicScan> cached;
    thread_local std::uint64_t cachedSerial = 0;
    if (!cached || cachedSerial != matcher.m_serial) {
        cached = std::make_unique<TopicScan>(matcher);
        cachedSerial = matcher.m_serial;
    }
    TopicScan& scan = *cached;
    scan.Run(sentence);
    std::vector<TopicMatch> matches;
    for (std::size_t topic = 0; topic < matcher.Topics().size(); ++topic) {
        if (scan.Verdict(topic)) {
            matches.push_back({matcher.Topics()[topic], scan.Result(topic).matchedWords, topic});
        }
    }
    return matches;
}

} // namespace lectoria::grammar
