// Every topic of one sentence: one scan of the whole table's automaton against MatchRule on each
// distinct rule in turn (compiled), and what building the automaton costs.
#include <string>
#include <unordered_set>
#include <vector>

#include <benchmark/benchmark.h>

#include "grammar/RuleTable.h"
#include "grammar/TopicTableMatcher.h"

using namespace lectoria;

namespace {

const grammar::RuleTable& Table()
{
    return lectoria::grammar::BuiltInRuleTable();
}

const std::vector<std::string> kSentences = {
    "he has never seen a whale.",
    "the book which i bought yesterday is on the table, isn't it?",
    "if it rains tomorrow, we will stay at home and watch tv.",
    "she was being followed by a man who had been waiting outside.",
    "it's five o'clock and the children are playing happily in the garden.",
    "would you mind opening the window?",
};

void BM_AllTopicsOneScan(benchmark::State& state)
{
    const grammar::TopicTableMatcher matcher(Table());
    grammar::TopicScan scan(matcher);
    std::size_t i = 0;
    for (auto _ : state) {
        scan.Run(kSentences[i++ % kSentences.size()]);
        benchmark::DoNotOptimize(scan.Verdict(0));
    }
    state.counters["topics"] = static_cast<double>(matcher.Topics().size());
    state.counters["rules"] = static_cast<double>(matcher.RuleCount());
    state.counters["literals"] = static_cast<double>(matcher.LiteralCount());
    state.counters["states"] = static_cast<double>(matcher.StateCount());
}
BENCHMARK(BM_AllTopicsOneScan)->Unit(benchmark::kMicrosecond);

/// AllTopicsOf as a caller uses it: the scan plus the passing topics' names and matched words.
void BM_AllTopicsOf(benchmark::State& state)
{
    const grammar::TopicTableMatcher matcher(Table());
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(grammar::AllTopicsOf(matcher, kSentences[i++ % kSentences.size()]));
    }
}
BENCHMARK(BM_AllTopicsOf)->Unit(benchmark::kMicrosecond);

void BM_AllTopicsRuleByRule(benchmark::State& state)
{
    std::vector<grammar::TopicRule> rules;
    std::unordered_set<std::string> seen;
    for (const std::string& topic : grammar::SelectableTopics(Table())) {
        if (seen.insert(grammar::SelectedRuleString(Table(), topic)).second) {
            rules.push_back(grammar::SelectRule(Table(), topic));
            grammar::CompileRule(rules.back());
        }
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& sentence = kSentences[i++ % kSentences.size()];
        std::size_t passed = 0;
        for (const grammar::TopicRule& rule : rules) {
            passed += grammar::MatchRule(rule, sentence).verdict ? 1 : 0;
        }
        benchmark::DoNotOptimize(passed);
    }
}
BENCHMARK(BM_AllTopicsRuleByRule)->Unit(benchmark::kMicrosecond);

void BM_BuildTopicTableMatcher(benchmark::State& state)
{
    for (auto _ : state) {
        const grammar::TopicTableMatcher matcher(Table());
        benchmark::DoNotOptimize(matcher.StateCount());
    }
}
BENCHMARK(BM_BuildTopicTableMatcher)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
