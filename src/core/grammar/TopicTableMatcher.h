#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

namespace lectoria::grammar {

struct TopicMatch;

namespace topic_table {

/// No literal, rule, state or group; also an empty entry of a rule's list.
inline constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
/// Marks a transition into a state that ends a literal; the rest is the state's row offset.
inline constexpr std::uint32_t kEndsLiteral = 0x8000'0000u;
inline constexpr std::uint32_t kOffsetMask = ~kEndsLiteral;

} // namespace topic_table

/// Every selectable topic of a table in table order: "parent+child" where the child has no
/// grandchildren to choose from, else one "parent+child+grandchild" per grandchild.
std::vector<std::string> SelectableTopics(const RuleTable& table);

/// The rules of every selectable topic compiled into one Aho–Corasick automaton over their distinct
/// literals, so that one scan of a sentence decides every rule; each verdict and matchedWords is
/// that of MatchRule on the topic's rule. Read-only once built, so threads may share it.
class TopicTableMatcher
{
public:
    explicit TopicTableMatcher(const RuleTable& table);
    /// Named rules that come from no table: one rule string per topic.
    TopicTableMatcher(std::vector<std::string> topics, const std::vector<std::string>& ruleStrings);

    const std::vector<std::string>& Topics() const { return m_topics; }
    std::size_t RuleCount() const { return m_rules.size(); }
    std::size_t LiteralCount() const { return m_literals.size(); }
    std::size_t StateCount() const { return m_outLiteral.size(); }
    /// Topics that share a rule string share its number.
    std::uint32_t RuleOfTopic(std::size_t topic) const { return m_ruleOfTopic[topic]; }
    /// A rule's verdict on a sentence in which none of its literals occurs.
    bool DefaultVerdict(std::uint32_t rule) const { return m_defaultVerdict[rule] != 0; }
    /// The topic's rule holds no word at all (such as "++++") and so passes every sentence.
    bool PassesEverySentence(std::size_t topic) const;

private:
    friend class TopicScan;
    friend std::vector<TopicMatch> AllTopicsOf(const TopicTableMatcher&, std::string_view);

    enum Field : std::uint8_t
    {
        AllOf,
        AnyOf,
        NoneOf,
        AnyAfter,
    };
    /// One use of a literal by a rule: for anyOf and anyAfter its first index in the list.
    struct Posting
    {
        std::uint32_t rule;
        std::uint32_t index : 30;
        std::uint32_t field : 2;
    };
    /// A rule as literal numbers, kNone for an empty entry.
    struct Rule
    {
        std::array<std::vector<std::uint32_t>, 4> lists;
        std::uint32_t allOfNeeded = 0; ///< distinct literals of allOf
        bool anyOfWhenNoneOccurs = true;
        bool anyAfterWhenNoneOccurs = true;
        std::uint32_t eraseGroup;
    };
    /// Rules that share one erase list.
    struct EraseGroup
    {
        std::vector<std::uint32_t> phrases; ///< literal numbers in list order, trimmed, kNone when empty
        std::vector<std::uint32_t> rules;
    };

    /// The field whose hit a rule needs before anything can change its default verdict, or none
    /// (4) when any hit may.
    static std::size_t GateField(const Rule& rule);

    using LiteralIds = std::unordered_map<std::string, std::uint32_t>;
    std::uint32_t LiteralOf(std::string_view text, LiteralIds& ids);
    void BuildAutomaton();

    std::uint64_t m_serial; ///< tells matchers apart even when one is built where another was
    std::vector<std::string> m_topics;
    std::vector<std::uint32_t> m_ruleOfTopic;
    std::vector<Rule> m_rules;
    std::vector<EraseGroup> m_eraseGroups;

    std::vector<std::string> m_literals;
    /// Per literal, into m_postings; one more at the end. A literal's postings that can turn their
    /// rule's verdict from its default come first, up to m_postingSplit.
    std::vector<std::uint32_t> m_postingBegin;
    std::vector<std::uint32_t> m_postingSplit;
    std::vector<Posting> m_postings;
    std::vector<std::uint8_t> m_defaultVerdict; ///< per rule, its verdict when no literal occurs
    /// An erase group whose list holds a literal, and where: its places in m_phrasePlaces.
    struct GroupUse
    {
        std::uint32_t group;
        std::uint32_t placesBegin;
        std::uint32_t placesEnd;
    };
    std::vector<std::uint32_t> m_groupsBegin; ///< per literal, into m_groupsOfLiteral; one more at the end
    std::vector<GroupUse> m_groupsOfLiteral;
    std::vector<std::uint32_t> m_phrasePlaces; ///< ascending places in a group's list

    std::array<std::uint16_t, 256> m_classOf{};
    std::size_t m_classCount = 0;
    /// Per state and byte class the next state's row offset, high bit set when the next state ends
    /// a literal itself or through a suffix.
    std::vector<std::uint32_t> m_next;
    std::vector<std::uint32_t> m_outLiteral; ///< per state, the literal ending exactly there
    std::vector<std::uint32_t> m_outLink;    ///< per state, the longest suffix state that ends a literal
};

/// The verdicts of every topic on one sentence, and their matched words on demand. One per thread;
/// it keeps its buffers from sentence to sentence.
class TopicScan
{
public:
    explicit TopicScan(const TopicTableMatcher& matcher);

    /// Evaluates every rule on a sentence that the caller has lower-cased, as MatchRule takes it.
    void Run(std::string_view sentence);
    /// The same on a sentence that NormalizeSentence has already turned into tokens.
    void RunNormalized(std::string_view normalized);

    bool Verdict(std::size_t topic) const { return RuleVerdict(m_matcher.m_ruleOfTopic[topic]); }
    /// A rule the sentence did not decide keeps its default verdict, so that no sentence pays for
    /// setting every rule's verdict afresh.
    bool RuleVerdict(std::uint32_t rule) const
    {
        return (m_ruleStamp[rule] == m_pass ? m_verdict[rule] : m_matcher.m_defaultVerdict[rule]) != 0;
    }
    /// What MatchRule gives for the topic's rule, matchedWords included (also on a false verdict).
    MatchResult Result(std::size_t topic) const;
    /// The rules the last sentence decided for itself, each once; every other rule has its
    /// default verdict. Usually a few dozen of the thousands, which is what makes counting cheap.
    const std::vector<std::uint32_t>& DecidedRules() const { return m_touched; }

private:
    /// A rule's counters for the sentence being scanned, one slot per field: for allOf the number
    /// of its distinct entries found, for the others the first index found in the list, none when
    /// nothing was (for noneOf any index means found).
    struct RuleState
    {
        std::array<std::uint32_t, 4> counters{};
    };
    /// Which literals occur in one text, and where each first starts.
    struct Occurrences
    {
        std::vector<std::uint32_t> stamp;
        std::vector<std::uint32_t> position;
        std::vector<std::uint32_t> found;
        std::uint32_t current = 0;

        bool Has(std::uint32_t literal) const { return literal < stamp.size() && stamp[literal] == current; }
    };

    void Scan(std::string_view text, Occurrences& occurrences) const;
    void Accumulate(const Occurrences& occurrences);
    void AccumulateGroup(const Occurrences& occurrences, std::uint32_t group);
    static void Count(const TopicTableMatcher::Posting& posting, RuleState& state);
    bool Decide(std::uint32_t rule, const Occurrences& occurrences) const;
    MatchResult Evaluate(std::uint32_t rule, const Occurrences& occurrences) const;
    bool Erase(std::uint32_t group, std::string& text, Occurrences& occurrences) const;

    const TopicTableMatcher& m_matcher;
    std::string m_normalized;
    Occurrences m_occurrences;
    mutable Occurrences m_erasedOccurrences;
    /// Starts a rule's counters afresh for this pass.
    void ResetRule(std::uint32_t r);
    /// Per rule, the pass that last reset its counters and so decided its verdict; apart from the
    /// counters, as most postings only look here and go on.
    std::vector<std::uint32_t> m_ruleStamp;
    std::vector<RuleState> m_ruleState;
    std::vector<std::uint8_t> m_verdict;
    /// The erased text of each erase group whose erase list changed this sentence, else empty.
    std::vector<std::string> m_erasedText;
    std::vector<std::uint8_t> m_erased;
    /// Rules whose counters this sentence has reset, each once: those a hit woke and those of an
    /// erase group that changed the text. Every other rule keeps its default verdict.
    std::vector<std::uint32_t> m_touched;
    std::vector<std::uint32_t> m_groupStamp;
    std::vector<std::uint32_t> m_touchedGroups;
    std::vector<std::uint32_t> m_erasedGroups;
    std::uint32_t m_pass = 0;
};

/// One topic a sentence belongs to and the words that decided it.
struct TopicMatch
{
    std::string selection;
    std::string matchedWords;
    std::size_t topic = 0; ///< the selection's index in the matcher's Topics()
};

/// Every topic whose rule passes the lower-cased sentence, in table order: one scan for all rules.
/// Keeps one TopicScan per thread for the matcher it last served.
std::vector<TopicMatch> AllTopicsOf(const TopicTableMatcher& matcher, std::string_view sentence);

} // namespace lectoria::grammar
