#include "grammar/TopicTableMatcher.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <deque>
#include <limits>
#include <map>
#include <utility>

namespace lectoria::grammar {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t kEndsLiteral = 0x8000'0000u;
constexpr std::uint32_t kOffsetMask = ~kEndsLiteral;

std::string_view TrimmedErasePhrase(std::string_view phrase)
{
    if (!phrase.empty() && phrase.back() == ' ') {
        phrase.remove_suffix(1);
    }
    if (!phrase.empty() && phrase.front() == ' ') {
        phrase.remove_prefix(1);
    }
    return phrase;
}

std::atomic<std::uint64_t> g_matcherSerial{0};

} // namespace

std::vector<std::string> SelectableTopics(const RuleTable& table)
{
    std::vector<std::string> topics;
    const std::vector<std::string> parents = SplitList(table.ParentTopicList, '/');
    for (std::size_t p = 0; p < parents.size() && p < table.ChildTopicLists.size(); ++p) {
        const std::vector<std::string> children = SplitList(table.ChildTopicLists[p], '/');
        for (std::size_t c = 0; c < children.size(); ++c) {
            const std::string selection = parents[p] + "+" + children[c];
            const GrandchildCombo combo = FillGrandchildCombo(table, static_cast<int>(p), static_cast<int>(c), "");
            if (combo.names.size() <= 1) {
                topics.push_back(selection);
                continue;
            }
            for (const std::string& grandchild : combo.names) {
                topics.push_back(selection + "+" + grandchild);
            }
        }
    }
    return topics;
}

std::uint32_t TopicTableMatcher::LiteralOf(std::string_view text, LiteralIds& ids)
{
    if (text.empty()) {
        return kNone;
    }
    const auto [found, added] = ids.try_emplace(std::string(text), static_cast<std::uint32_t>(m_literals.size()));
    if (added) {
        m_literals.emplace_back(text);
    }
    return found->second;
}

namespace {

std::vector<std::string> RuleStrings(const RuleTable& table, const std::vector<std::string>& topics)
{
    std::vector<std::string> rules;
    rules.reserve(topics.size());
    for (const std::string& topic : topics) {
        rules.push_back(SelectedRuleString(table, topic));
    }
    return rules;
}

} // namespace

TopicTableMatcher::TopicTableMatcher(const RuleTable& table)
    : TopicTableMatcher(SelectableTopics(table), RuleStrings(table, SelectableTopics(table)))
{}

TopicTableMatcher::TopicTableMatcher(std::vector<std::string> topics, const std::vector<std::string>& ruleStrings)
    : m_serial(++g_matcherSerial), m_topics(std::move(topics))
{
    LiteralIds literalIds;
    std::unordered_map<std::string, std::uint32_t> ruleIds;
    std::map<std::vector<std::string>, std::uint32_t> groupIds;
    std::vector<TopicRule> parsed;

    for (const std::string& ruleString : ruleStrings) {
        const auto [found, added] = ruleIds.try_emplace(ruleString, static_cast<std::uint32_t>(m_rules.size()));
        m_ruleOfTopic.push_back(found->second);
        if (!added) {
            continue;
        }
        const TopicRule rule = ParseTopicRule(ruleString);
        Rule compiled;
        const std::vector<std::string>* lists[] = {&rule.allOf, &rule.anyOf, &rule.noneOf, &rule.anyAfter};
        for (std::size_t f = 0; f < 4; ++f) {
            for (const std::string& entry : *lists[f]) {
                compiled.lists[f].push_back(LiteralOf(entry, literalIds));
            }
        }
        std::vector<std::uint32_t> distinct = compiled.lists[AllOf];
        distinct.erase(std::remove(distinct.begin(), distinct.end(), kNone), distinct.end());
        std::sort(distinct.begin(), distinct.end());
        compiled.allOfNeeded =
            static_cast<std::uint32_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
        compiled.anyOfWhenNoneOccurs = rule.anyOf.empty() || rule.anyOf.back().empty();
        compiled.anyAfterWhenNoneOccurs = rule.anyAfter.empty() || rule.anyAfter.back().empty();

        std::vector<std::string> phrases;
        bool erases = false;
        for (const std::string& entry : rule.erase) {
            phrases.emplace_back(TrimmedErasePhrase(entry));
            erases = erases || !phrases.back().empty();
        }
        compiled.eraseGroup = kNone;
        if (erases) {
            const auto [group, newGroup] =
                groupIds.try_emplace(phrases, static_cast<std::uint32_t>(m_eraseGroups.size()));
            if (newGroup) {
                EraseGroup fresh;
                for (const std::string& phrase : phrases) {
                    fresh.phrases.push_back(LiteralOf(phrase, literalIds));
                }
                m_eraseGroups.push_back(std::move(fresh));
            }
            compiled.eraseGroup = group->second;
            m_eraseGroups[group->second].rules.push_back(static_cast<std::uint32_t>(m_rules.size()));
        }
        m_rules.push_back(std::move(compiled));
    }

    // Postings, one per rule, field and distinct literal; for the ordered lists the first index.
    std::vector<std::vector<Posting>> byLiteral(m_literals.size());
    for (std::uint32_t r = 0; r < m_rules.size(); ++r) {
        for (std::size_t f = 0; f < 4; ++f) {
            const std::vector<std::uint32_t>& list = m_rules[r].lists[f];
            for (std::uint32_t i = 0; i < list.size(); ++i) {
                const std::uint32_t literal = list[i];
                if (literal == kNone) {
                    continue;
                }
                std::vector<Posting>& postings = byLiteral[literal];
                const bool seen = std::any_of(postings.begin(), postings.end(), [&](const Posting& posting) {
                    return posting.rule == r && posting.field == f;
                });
                if (!seen) {
                    postings.push_back({r, i, static_cast<Field>(f)});
                }
            }
        }
    }
    for (const std::vector<Posting>& postings : byLiteral) {
        m_postingBegin.push_back(static_cast<std::uint32_t>(m_postings.size()));
        m_postings.insert(m_postings.end(), postings.begin(), postings.end());
    }
    m_postingBegin.push_back(static_cast<std::uint32_t>(m_postings.size()));

    for (const Rule& rule : m_rules) {
        m_defaultVerdict.push_back(rule.allOfNeeded == 0 && rule.anyOfWhenNoneOccurs && rule.anyAfterWhenNoneOccurs);
    }
    std::vector<std::vector<std::uint32_t>> groupsOf(m_literals.size());
    for (std::uint32_t g = 0; g < m_eraseGroups.size(); ++g) {
        for (const std::uint32_t phrase : m_eraseGroups[g].phrases) {
            if (phrase != kNone && (groupsOf[phrase].empty() || groupsOf[phrase].back() != g)) {
                groupsOf[phrase].push_back(g);
            }
        }
    }
    for (const std::vector<std::uint32_t>& groups : groupsOf) {
        m_groupsBegin.push_back(static_cast<std::uint32_t>(m_groupsOfLiteral.size()));
        m_groupsOfLiteral.insert(m_groupsOfLiteral.end(), groups.begin(), groups.end());
    }
    m_groupsBegin.push_back(static_cast<std::uint32_t>(m_groupsOfLiteral.size()));
    BuildAutomaton();
}

void TopicTableMatcher::BuildAutomaton()
{
    std::array<bool, 256> used{};
    for (const std::string& literal : m_literals) {
        for (const char c : literal) {
            used[static_cast<unsigned char>(c)] = true;
        }
    }
    unsigned classCount = 1;
    for (std::size_t b = 0; b < used.size(); ++b) {
        m_classOf[b] = used[b] ? static_cast<std::uint16_t>(classCount++) : 0;
    }
    m_classCount = classCount;
    const std::size_t width = m_classCount;

    std::vector<std::uint32_t> next(width, 0);
    m_outLiteral.assign(1, kNone);
    for (std::uint32_t id = 0; id < m_literals.size(); ++id) {
        std::uint32_t state = 0;
        for (const char c : m_literals[id]) {
            const std::size_t cell = std::size_t{state} * width + m_classOf[static_cast<unsigned char>(c)];
            if (next[cell] == 0) {
                next[cell] = static_cast<std::uint32_t>(m_outLiteral.size());
                m_outLiteral.push_back(kNone);
                next.resize(next.size() + width, 0);
            }
            state = next[cell];
        }
        m_outLiteral[state] = id;
    }

    // Breadth first, so that each state's fallback is complete before the state itself.
    const std::size_t states = m_outLiteral.size();
    std::vector<std::uint32_t> fallback(states, 0);
    m_outLink.assign(states, kNone);
    std::deque<std::uint32_t> queue;
    for (std::size_t c = 0; c < width; ++c) {
        if (next[c] != 0) {
            queue.push_back(next[c]);
        }
    }
    while (!queue.empty()) {
        const std::uint32_t state = queue.front();
        queue.pop_front();
        const std::uint32_t back = fallback[state];
        m_outLink[state] = m_outLiteral[back] != kNone ? back : m_outLink[back];
        std::uint32_t* row = next.data() + std::size_t{state} * width;
        const std::uint32_t* fallbackRow = next.data() + std::size_t{back} * width;
        for (std::size_t c = 0; c < width; ++c) {
            if (row[c] != 0) {
                fallback[row[c]] = fallbackRow[c];
                queue.push_back(row[c]);
            } else {
                row[c] = fallbackRow[c];
            }
        }
    }
    for (std::uint32_t& cell : next) {
        const bool ends = m_outLiteral[cell] != kNone || m_outLink[cell] != kNone;
        cell = static_cast<std::uint32_t>(cell * width) | (ends ? kEndsLiteral : 0);
    }
    m_next = std::move(next);
}

TopicScan::TopicScan(const TopicTableMatcher& matcher)
    : m_matcher(matcher), m_ruleState(matcher.m_rules.size()), m_verdict(matcher.m_rules.size()),
      m_erasedText(matcher.m_eraseGroups.size()), m_erased(matcher.m_eraseGroups.size()),
      m_groupStamp(matcher.m_eraseGroups.size(), 0), m_decidedStamp(matcher.m_rules.size(), 0)
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

void TopicScan::Accumulate(const Occurrences& occurrences, std::uint32_t onlyGroup)
{
    const auto& rules = m_matcher.m_rules;
    for (const std::uint32_t literal : occurrences.found) {
        const auto* posting = m_matcher.m_postings.data() + m_matcher.m_postingBegin[literal];
        const auto* end = m_matcher.m_postings.data() + m_matcher.m_postingBegin[literal + 1];
        for (; posting != end; ++posting) {
            const std::uint32_t r = posting->rule;
            if (onlyGroup != kNone && rules[r].eraseGroup != onlyGroup) {
                continue;
            }
            RuleState& state = m_ruleState[r];
            if (state.stamp != m_pass) {
                ResetRule(r);
                m_touched.push_back(r);
            }
            switch (posting->field) {
            case TopicTableMatcher::AllOf:
                ++state.allOfCount;
                break;
            case TopicTableMatcher::AnyOf:
                state.anyOfFirst = std::min(state.anyOfFirst, posting->index);
                break;
            case TopicTableMatcher::NoneOf:
                state.noneOf = 1;
                break;
            case TopicTableMatcher::AnyAfter:
                state.anyAfterFirst = std::min(state.anyAfterFirst, posting->index);
                break;
            }
        }
    }
}

void TopicScan::ResetRule(std::uint32_t r)
{
    RuleState& state = m_ruleState[r];
    state.stamp = m_pass;
    state.allOfCount = 0;
    state.anyOfFirst = kNone;
    state.anyAfterFirst = kNone;
    state.noneOf = 0;
}

bool TopicScan::Decide(std::uint32_t r, const Occurrences& occurrences) const
{
    const TopicTableMatcher::Rule& rule = m_matcher.m_rules[r];
    const RuleState& state = m_ruleState[r];
    if (state.allOfCount != rule.allOfNeeded || state.noneOf != 0) {
        return false;
    }
    const std::uint32_t anyOf = state.anyOfFirst;
    const std::uint32_t anyAfter = state.anyAfterFirst;
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
// later phrase, so the text is scanned again after each one; phrases absent from it are skipped.
bool TopicScan::Erase(const TopicTableMatcher::EraseGroup& group, std::string& text, Occurrences& occurrences) const
{
    bool changed = false;
    for (const std::uint32_t phrase : group.phrases) {
        if (!occurrences.Has(phrase)) {
            continue;
        }
        ReplaceAll(text, m_matcher.m_literals[phrase], "");
        Scan(text, occurrences);
        changed = true;
    }
    return changed;
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
    Accumulate(m_occurrences, kNone);
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
            const std::uint32_t g = m_matcher.m_groupsOfLiteral[k];
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
        if (!Erase(group, text, m_erasedOccurrences)) {
            continue;
        }
        m_erased[g] = 1;
        m_erasedGroups.push_back(g);
        for (const std::uint32_t r : group.rules) {
            // The erased text is counted afresh, also for rules the full text touched.
            ResetRule(r);
        }
        Accumulate(m_erasedOccurrences, g);
        for (const std::uint32_t r : group.rules) {
            m_verdict[r] = Decide(r, m_erasedOccurrences) ? 1 : 0;
        }
    }

    m_decided.clear();
    const auto decided = [this](std::uint32_t r) {
        if (m_decidedStamp[r] != m_pass) {
            m_decidedStamp[r] = m_pass;
            m_decided.push_back(r);
        }
    };
    for (const std::uint32_t r : m_touched) {
        decided(r);
    }
    for (const std::uint32_t g : m_erasedGroups) {
        for (const std::uint32_t r : m_matcher.m_eraseGroups[g].rules) {
            decided(r);
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
            matches.push_back({matcher.Topics()[topic], scan.Result(topic).matchedWords});
        }
    }
    return matches;
}

} // namespace lectoria::grammar
