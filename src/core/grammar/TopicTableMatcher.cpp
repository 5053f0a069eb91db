#include "grammar/TopicTableMatcher.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <limits>
#include <map>
#include <utility>

namespace lectoria::grammar {

using topic_table::kEndsLiteral;
using topic_table::kNone;

namespace {

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

constexpr std::size_t kNoGate = 4;

} // namespace

std::size_t TopicTableMatcher::GateField(const Rule& rule)
{
    const auto entries = [&](std::size_t f) {
        const std::vector<std::uint32_t>& list = rule.lists[f];
        return static_cast<std::size_t>(list.size() -
                                        static_cast<std::size_t>(std::count(list.begin(), list.end(), kNone)));
    };
    std::size_t gate = kNoGate;
    const auto consider = [&](std::size_t f) {
        if (gate == kNoGate || entries(f) < entries(gate)) {
            gate = f;
        }
    };
    if (rule.allOfNeeded > 0) {
        consider(AllOf);
    }
    if (!rule.anyOfWhenNoneOccurs) {
        consider(AnyOf);
    }
    if (!rule.anyAfterWhenNoneOccurs) {
        consider(AnyAfter);
    }
    return gate;
}

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

bool TopicTableMatcher::PassesEverySentence(std::size_t topic) const
{
    const std::uint32_t rule = m_ruleOfTopic[topic];
    for (const std::vector<std::uint32_t>& list : m_rules[rule].lists) {
        if (std::any_of(list.begin(), list.end(), [](std::uint32_t literal) { return literal != kNone; })) {
            return false;
        }
    }
    // Without a literal the verdict cannot depend on the sentence.
    return DefaultVerdict(rule);
}

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
    // A rule that fails when no literal occurs needs a hit in each field that must have one: one
    // of them, the one with the fewest entries, is its gate, and only a hit there wakes the rule.
    // Its other postings count only for woken rules; a rule without such a field wakes on any hit.
    std::vector<std::vector<Posting>> gates(m_literals.size());
    std::vector<std::vector<Posting>> others(m_literals.size());
    for (std::uint32_t r = 0; r < m_rules.size(); ++r) {
        const Rule& rule = m_rules[r];
        const std::size_t gate = GateField(rule);
        for (std::size_t f = 0; f < 4; ++f) {
            const std::vector<std::uint32_t>& list = rule.lists[f];
            for (std::uint32_t i = 0; i < list.size(); ++i) {
                const std::uint32_t literal = list[i];
                if (literal == kNone) {
                    continue;
                }
                std::vector<Posting>& postings = gate == kNoGate || gate == f ? gates[literal] : others[literal];
                const bool seen = std::any_of(postings.begin(), postings.end(), [&](const Posting& posting) {
                    return posting.rule == r && posting.field == f;
                });
                if (!seen) {
                    postings.push_back({r, i, static_cast<std::uint32_t>(f)});
                }
            }
        }
    }
    for (std::size_t literal = 0; literal < m_literals.size(); ++literal) {
        m_postingBegin.push_back(static_cast<std::uint32_t>(m_postings.size()));
        m_postings.insert(m_postings.end(), gates[literal].begin(), gates[literal].end());
        m_postingSplit.push_back(static_cast<std::uint32_t>(m_postings.size()));
        m_postings.insert(m_postings.end(), others[literal].begin(), others[literal].end());
    }
    m_postingBegin.push_back(static_cast<std::uint32_t>(m_postings.size()));

    for (const Rule& rule : m_rules) {
        m_defaultVerdict.push_back(rule.allOfNeeded == 0 && rule.anyOfWhenNoneOccurs && rule.anyAfterWhenNoneOccurs);
    }
    // Per literal, each group whose list holds it with its places there, in list order.
    std::vector<std::vector<std::pair<std::uint32_t, std::vector<std::uint32_t>>>> groupsOf(m_literals.size());
    for (std::uint32_t g = 0; g < m_eraseGroups.size(); ++g) {
        const std::vector<std::uint32_t>& phrases = m_eraseGroups[g].phrases;
        for (std::uint32_t place = 0; place < phrases.size(); ++place) {
            const std::uint32_t phrase = phrases[place];
            if (phrase == kNone) {
                continue;
            }
            if (groupsOf[phrase].empty() || groupsOf[phrase].back().first != g) {
                groupsOf[phrase].emplace_back(g, std::vector<std::uint32_t>());
            }
            groupsOf[phrase].back().second.push_back(place);
        }
    }
    for (const auto& groups : groupsOf) {
        m_groupsBegin.push_back(static_cast<std::uint32_t>(m_groupsOfLiteral.size()));
        for (const auto& [group, places] : groups) {
            const auto begin = static_cast<std::uint32_t>(m_phrasePlaces.size());
            m_phrasePlaces.insert(m_phrasePlaces.end(), places.begin(), places.end());
            m_groupsOfLiteral.push_back({group, begin, static_cast<std::uint32_t>(m_phrasePlaces.size())});
        }
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

} // namespace lectoria::grammar
