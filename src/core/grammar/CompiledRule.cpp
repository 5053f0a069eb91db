#include "grammar/CompiledRule.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <limits>
#include <unordered_map>

namespace lectoria::grammar {

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t kEndsEntry = 0x8000'0000u;
constexpr std::uint32_t kOffsetMask = ~kEndsEntry;
constexpr std::size_t kMaxTableCells = std::size_t{16} << 20; // 64 MB of transitions
constexpr int kMaskBits = 64;

} // namespace

// What the entries ending in one state contribute: for anyOf and anyAfter the lowest entry
// number (its length locates the occurrence), for the rest flags.
struct CompiledRule::StateInfo
{
    std::uint32_t anyOf = kNone;
    std::uint32_t anyOfLength = 0;
    std::uint32_t anyAfter = kNone;
    std::uint32_t anyAfterLength = 0;
    std::uint32_t eraseBegin = 0;
    std::uint32_t eraseEnd = 0;
    std::uint64_t allOfMask = 0;
    bool noneOf = false;

    bool EndsEntry() const
    {
        return anyOf != kNone || anyAfter != kNone || noneOf || allOfMask != 0 || eraseBegin != eraseEnd;
    }
};

// One scan's findings. Occurrences are reported in order of their end, and entries of one length
// end in that order too, so the first report of the deciding entry is its first occurrence.
struct CompiledRule::Hits
{
    std::uint32_t anyOf = kNone;
    std::size_t anyOfPosition = 0;
    std::uint32_t anyAfter = kNone;
    std::size_t anyAfterPosition = 0;
    std::uint64_t allOfMask = 0;
    bool noneOf = false;
    std::uint32_t erase = kNone;
};

std::shared_ptr<const CompiledRule> CompiledRule::Compile(const TopicRule& rule)
{
    std::shared_ptr<CompiledRule> compiled(new CompiledRule());
    if (!compiled->Build(rule)) {
        return nullptr;
    }
    return compiled;
}

bool CompiledRule::Build(const TopicRule& rule)
{
    for (const std::string& phrase : rule.erase) {
        m_erasePhrases.emplace_back(TrimOneBlank(phrase));
    }

    // Every byte of an entry adds at most one state, which bounds the table before it is built.
    std::array<bool, 256> used{};
    std::size_t entryBytes = 0;
    const std::vector<std::string>* lists[] = {&rule.allOf, &rule.anyOf, &rule.noneOf, &rule.anyAfter, &m_erasePhrases};
    for (const std::vector<std::string>* list : lists) {
        for (const std::string& entry : *list) {
            entryBytes += entry.size();
            for (const char c : entry) {
                used[static_cast<unsigned char>(c)] = true;
            }
        }
    }
    unsigned classCount = 1;
    for (std::size_t b = 0; b < used.size(); ++b) {
        m_classOf[b] = used[b] ? static_cast<std::uint16_t>(classCount++) : 0;
    }
    m_classCount = classCount;
    const std::size_t width = m_classCount + 1;
    if (entryBytes + 1 > kMaxTableCells / width) {
        return false;
    }

    // The trie, with state numbers in the cells and 0 (the root) for "no child".
    std::vector<std::uint32_t> next(width, 0);
    std::vector<StateInfo> info(1);
    auto insert = [&](std::string_view entry) {
        std::uint32_t state = 0;
        for (const char c : entry) {
            const std::size_t cell = std::size_t{state} * width + m_classOf[static_cast<unsigned char>(c)];
            if (next[cell] == 0) {
                next[cell] = static_cast<std::uint32_t>(info.size());
                info.emplace_back();
                next.resize(next.size() + width, 0);
            }
            state = next[cell];
        }
        return state;
    };

    auto addFirstDeciding = [&](const std::vector<std::string>& list, std::uint32_t StateInfo::*number,
                                std::uint32_t StateInfo::*length) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].empty()) {
                continue;
            }
            StateInfo& own = info[insert(list[i])];
            if (own.*number == kNone) {
                own.*number = static_cast<std::uint32_t>(i);
                own.*length = static_cast<std::uint32_t>(list[i].size());
            }
        }
    };
    addFirstDeciding(rule.anyOf, &StateInfo::anyOf, &StateInfo::anyOfLength);
    addFirstDeciding(rule.anyAfter, &StateInfo::anyAfter, &StateInfo::anyAfterLength);

    for (const std::string& entry : rule.noneOf) {
        if (!entry.empty()) {
            info[insert(entry)].noneOf = true;
        }
    }

    // Equal allOf entries end in the same state and share one bit.
    std::unordered_map<std::uint32_t, int> bitOfState;
    for (const std::string& entry : rule.allOf) {
        int bit = -1;
        if (!entry.empty()) {
            bit = bitOfState.try_emplace(insert(entry), static_cast<int>(bitOfState.size())).first->second;
        }
        m_allOfBit.push_back(bit);
    }
    m_allOfByFind = bitOfState.size() > kMaskBits;
    if (!m_allOfByFind) {
        for (const auto& [state, bit] : bitOfState) {
            info[state].allOfMask |= std::uint64_t{1} << bit;
        }
    }

    std::vector<std::pair<std::uint32_t, std::uint32_t>> eraseEnds; // (state, entry number)
    for (std::size_t i = 0; i < m_erasePhrases.size(); ++i) {
        if (!m_erasePhrases[i].empty()) {
            eraseEnds.emplace_back(insert(m_erasePhrases[i]), static_cast<std::uint32_t>(i));
        }
    }
    std::sort(eraseEnds.begin(), eraseEnds.end());
    const std::size_t states = info.size();
    std::vector<std::uint32_t> firstEraseEnd(states, kNone);
    for (std::size_t k = eraseEnds.size(); k-- > 0;) {
        firstEraseEnd[eraseEnds[k].first] = static_cast<std::uint32_t>(k);
    }

    // Breadth first, so that a state's fallback (its longest proper suffix in the trie) is complete
    // before the state: missing cells take the fallback's cell, and each state inherits what ends in
    // its suffixes. A row still holds only trie children when its state is taken from the queue.
    std::vector<std::uint32_t> fallback(states, 0);
    std::deque<std::uint32_t> queue;
    for (std::size_t c = 0; c < m_classCount; ++c) {
        if (next[c] != 0) {
            queue.push_back(next[c]);
        }
    }
    std::vector<std::uint32_t> ownErase;
    std::vector<std::uint32_t> merged;
    while (!queue.empty()) {
        const std::uint32_t state = queue.front();
        queue.pop_front();
        StateInfo& own = info[state];
        const StateInfo& inherited = info[fallback[state]];
        if (inherited.anyOf < own.anyOf) {
            own.anyOf = inherited.anyOf;
            own.anyOfLength = inherited.anyOfLength;
        }
        if (inherited.anyAfter < own.anyAfter) {
            own.anyAfter = inherited.anyAfter;
            own.anyAfterLength = inherited.anyAfterLength;
        }
        own.noneOf = own.noneOf || inherited.noneOf;
        own.allOfMask |= inherited.allOfMask;

        ownErase.clear();
        for (std::size_t k = firstEraseEnd[state]; k < eraseEnds.size() && eraseEnds[k].first == state; ++k) {
            ownErase.push_back(eraseEnds[k].second);
        }
        if (!ownErase.empty() || inherited.eraseBegin != inherited.eraseEnd) {
            merged.clear();
            std::merge(ownErase.begin(), ownErase.end(), m_eraseIds.begin() + inherited.eraseBegin,
                       m_eraseIds.begin() + inherited.eraseEnd, std::back_inserter(merged));
            own.eraseBegin = static_cast<std::uint32_t>(m_eraseIds.size());
            m_eraseIds.insert(m_eraseIds.end(), merged.begin(), merged.end());
            own.eraseEnd = static_cast<std::uint32_t>(m_eraseIds.size());
        }

        std::uint32_t* row = next.data() + std::size_t{state} * width;
        const std::uint32_t* fallbackRow = next.data() + std::size_t{fallback[state]} * width;
        for (std::size_t c = 0; c < m_classCount; ++c) {
            if (row[c] != 0) {
                fallback[row[c]] = fallbackRow[c];
                queue.push_back(row[c]);
            } else {
                row[c] = fallbackRow[c];
            }
        }
    }

    std::vector<std::uint32_t> flag(states);
    for (std::size_t state = 0; state < states; ++state) {
        flag[state] = info[state].EndsEntry() ? kEndsEntry : 0;
    }
    for (std::size_t state = 0; state < states; ++state) {
        std::uint32_t* row = next.data() + state * width;
        for (std::size_t c = 0; c < m_classCount; ++c) {
            row[c] = static_cast<std::uint32_t>(row[c] * width) | flag[row[c]];
        }
        row[m_classCount] = static_cast<std::uint32_t>(state);
    }
    m_next = std::move(next);
    m_info = std::move(info);
    m_stateCount = states;

    m_allOf = rule.allOf;
    m_anyOf = rule.anyOf;
    m_anyAfter = rule.anyAfter;
    m_anyOfWhenNoneOccurs = rule.anyOf.empty() || rule.anyOf.back().empty();
    m_anyAfterWhenNoneOccurs = rule.anyAfter.empty() || rule.anyAfter.back().empty();
    return true;
}

CompiledRule::Hits CompiledRule::Scan(std::string_view text) const
{
    Hits hits;
    const std::uint32_t* next = m_next.data();
    std::uint32_t cell = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        cell = next[(cell & kOffsetMask) + m_classOf[static_cast<unsigned char>(text[i])]];
        if ((cell & kEndsEntry) == 0) {
            continue;
        }
        const StateInfo& info = m_info[next[(cell & kOffsetMask) + m_classCount]];
        const std::size_t end = i + 1;
        if (info.anyOf < hits.anyOf) {
            hits.anyOf = info.anyOf;
            hits.anyOfPosition = end - info.anyOfLength;
        }
        if (info.anyAfter < hits.anyAfter) {
            hits.anyAfter = info.anyAfter;
            hits.anyAfterPosition = end - info.anyAfterLength;
        }
        hits.noneOf = hits.noneOf || info.noneOf;
        hits.allOfMask |= info.allOfMask;
        if (info.eraseBegin != info.eraseEnd) {
            hits.erase = std::min(hits.erase, m_eraseIds[info.eraseBegin]);
        }
    }
    return hits;
}

std::uint32_t CompiledRule::NextErase(std::string_view text, std::uint32_t after) const
{
    std::uint32_t lowest = kNone;
    std::uint32_t cell = 0;
    for (const char c : text) {
        cell = m_next[(cell & kOffsetMask) + m_classOf[static_cast<unsigned char>(c)]];
        if ((cell & kEndsEntry) == 0) {
            continue;
        }
        const StateInfo& info = m_info[m_next[(cell & kOffsetMask) + m_classCount]];
        const auto first = m_eraseIds.begin() + info.eraseBegin;
        const auto last = m_eraseIds.begin() + info.eraseEnd;
        const auto later = std::upper_bound(first, last, after);
        if (later != last) {
            lowest = std::min(lowest, *later);
        }
    }
    return lowest;
}

MatchResult CompiledRule::Match(std::string_view sentence) const
{
    return MatchNormalized(NormalizeSentence(sentence));
}

MatchResult CompiledRule::MatchNormalized(std::string_view normalized) const
{
    MatchResult result;
    std::string_view s = normalized;
    Hits hits = Scan(s);

    // Erasing stays sequential because a deletion can join text into a new occurrence of a later
    // entry; entries that occur nowhere in the current text would delete nothing and are skipped.
    std::string erased;
    if (hits.erase != kNone) {
        erased.assign(normalized);
        for (std::uint32_t entry = hits.erase; entry != kNone; entry = NextErase(erased, entry)) {
            ReplaceAll(erased, m_erasePhrases[entry], "");
        }
        s = erased;
        hits = Scan(s);
    }

    bool allOf = true;
    for (std::size_t i = 0; i < m_allOf.size(); ++i) {
        if (m_allOfBit[i] < 0) {
            allOf = true;
            continue;
        }
        const bool occurs =
            m_allOfByFind ? s.find(m_allOf[i]) != std::string_view::npos : ((hits.allOfMask >> m_allOfBit[i]) & 1) != 0;
        if (!occurs) {
            allOf = false;
            break;
        }
        allOf = true;
        result.matchedWords = m_allOf[i] + '/';
    }

    const bool anyOf = hits.anyOf != kNone || m_anyOfWhenNoneOccurs;
    if (hits.anyOf != kNone) {
        result.matchedWords += m_anyOf[hits.anyOf];
        result.matchedWords += '/';
    }
    const bool anyAfter = hits.anyAfter != kNone || m_anyAfterWhenNoneOccurs;
    if (hits.anyAfter != kNone) {
        result.matchedWords += m_anyAfter[hits.anyAfter];
    }
    bool inOrder = true;
    if (hits.anyOf != kNone && hits.anyAfter != kNone) {
        inOrder = hits.anyOfPosition < hits.anyAfterPosition;
    }
    result.verdict = allOf && anyOf && !hits.noneOf && anyAfter && inOrder;
    return result;
}

} // namespace lectoria::grammar
