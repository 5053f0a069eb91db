// The compiled matcher against the plain one on the simple-present rule, the largest of the table, over the
// same sentences in the same run, and the one-time costs a search pays before its first sentence.
#include <chrono>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "grammar/CompiledRule.h"
#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

using namespace lectoria::grammar;

namespace {

constexpr const char* kSimplePresent = "时态+现在一般时";

const RuleTable& Table()
{
    return lectoria::grammar::BuiltInRuleTable();
}

std::vector<std::string> Words(std::string_view list)
{
    std::vector<std::string> words;
    for (const std::string& entry : SplitList(list, '/')) {
        const std::size_t first = entry.find_first_not_of(' ');
        if (first != std::string::npos) {
            words.push_back(entry.substr(first, entry.find_last_not_of(' ') - first + 1));
        }
    }
    return words;
}

// Textbook-like sentences: the demo library's own, then generated ones built from a subject, a
// verb form of the built-in lists (a third of them a present form, so the rule's anyAfter decides
// late as often as early), a little of everything else, and final marks.
std::vector<std::string> Sentences(std::size_t count)
{
    std::vector<std::string> sentences;
    std::ifstream demo(LECTORIA_DEMO_MANIFEST);
    std::string line;
    while (std::getline(demo, line) && sentences.size() < count / 10) {
        if (line.size() > 3 && line[0] >= '0' && line[0] <= '9' && line[2] == ' ') {
            sentences.push_back(ToLowerAscii(line.substr(3)));
        }
    }

    const VerbForms verbs = BuildVerbForms();
    const std::vector<std::vector<std::string>> verbLists = {
        Words(verbs.BaseVerbs),        Words(verbs.ThirdPersonVerbs),   Words(verbs.IngForms),
        Words(verbs.RegularPastForms), Words(verbs.IrregularPastForms), Words(verbs.IrregularParticiples)};
    static const char* const kSubjects[] = {"i",    "you",     "he",        "she",       "it",          "we",
                                            "they", "the boy", "my mother", "mr. blake", "the teacher", "our friends"};
    static const char* const kMiddles[] = {"is",  "are",   "was",     "has",  "have", "will",   "would", "can",
                                           "not", "don't", "doesn't", "it's", "very", "always", "never", "been"};
    static const char* const kObjects[] = {
        "the book",      "a letter",      "his car",   "some milk", "the children", "every day", "at five o'clock",
        "in the garden", "at the moment", "last week", "tomorrow",  "to school",    "very well", "quickly"};
    static const char* const kEnds[] = {".", ".", ".", "?", "!", ", isn't it?"};
    std::mt19937 random(42);
    auto pick = [&random](std::size_t size) { return std::uniform_int_distribution<std::size_t>(0, size - 1)(random); };
    while (sentences.size() < count) {
        std::string sentence = kSubjects[pick(std::size(kSubjects))];
        if (pick(3) == 0) {
            sentence += ' ';
            sentence += kMiddles[pick(std::size(kMiddles))];
        }
        const std::vector<std::string>& verbsOfKind = verbLists[pick(verbLists.size())];
        sentence += ' ' + verbsOfKind[pick(verbsOfKind.size())];
        for (std::size_t n = pick(3); n > 0; --n) {
            sentence += ' ';
            sentence += kObjects[pick(std::size(kObjects))];
        }
        sentence += kEnds[pick(std::size(kEnds))];
        sentences.push_back(ToLowerAscii(sentence));
    }
    return sentences;
}

const std::vector<std::string>& BenchSentences()
{
    static const std::vector<std::string> sentences = Sentences(4000);
    return sentences;
}

// One pass of one engine over every sentence; returns the seconds it took.
double Pass(const TopicRule& rule, MatchEngine engine, std::size_t& found)
{
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& sentence : BenchSentences()) {
        const MatchResult result =
            engine == MatchEngine::Plain ? MatchRulePlain(rule, sentence) : MatchRule(rule, sentence);
        found += result.verdict ? 1 : 0;
        benchmark::DoNotOptimize(result);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_SimplePresent(benchmark::State& state)
{
    const MatchEngine engine = static_cast<MatchEngine>(state.range(0));
    TopicRule rule = SelectRule(Table(), kSimplePresent);
    UseMatchEngine(rule, engine);
    std::size_t found = 0;
    for (auto _ : state) {
        Pass(rule, engine, found);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * BenchSentences().size()));
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
    state.SetLabel(engine == MatchEngine::Plain ? "plain" : "fast");
}
BENCHMARK(BM_SimplePresent)->Arg(static_cast<int>(MatchEngine::Plain))->Arg(static_cast<int>(MatchEngine::Fast));

// Both engines alternately over the same sentences, so that the ratio is taken under the same
// conditions; the iteration time reported is the fast engine's.
void BM_SimplePresentSpeedup(benchmark::State& state)
{
    const TopicRule fast = SelectRule(Table(), kSimplePresent);
    std::size_t plainFound = 0;
    std::size_t fastFound = 0;
    double plainSeconds = 0;
    double fastSeconds = 0;
    for (auto _ : state) {
        plainSeconds += Pass(fast, MatchEngine::Plain, plainFound);
        const double seconds = Pass(fast, MatchEngine::Fast, fastFound);
        fastSeconds += seconds;
        state.SetIterationTime(seconds);
    }
    if (plainFound != fastFound) {
        state.SkipWithError("the engines found different sentences");
        return;
    }
    const double sentences = static_cast<double>(state.iterations() * BenchSentences().size());
    state.counters["plain_per_s"] = sentences / plainSeconds;
    state.counters["fast_per_s"] = sentences / fastSeconds;
    state.counters["ratio"] = plainSeconds / fastSeconds;
}
BENCHMARK(BM_SimplePresentSpeedup)->UseManualTime()->Iterations(5);

void BM_NormalizeSentence(benchmark::State& state)
{
    const bool plain = state.range(0) == static_cast<int>(MatchEngine::Plain);
    for (auto _ : state) {
        for (const std::string& sentence : BenchSentences()) {
            benchmark::DoNotOptimize(plain ? NormalizeSentencePlain(sentence) : NormalizeSentence(sentence));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * BenchSentences().size()));
    state.SetLabel(plain ? "plain" : "fast");
}
BENCHMARK(BM_NormalizeSentence)->Arg(static_cast<int>(MatchEngine::Plain))->Arg(static_cast<int>(MatchEngine::Fast));

void BM_CompileSimplePresent(benchmark::State& state)
{
    const TopicRule parsed = ParseTopicRule(SelectedRuleString(Table(), kSimplePresent));
    std::size_t states = 0;
    for (auto _ : state) {
        TopicRule rule = parsed;
        CompileRule(rule);
        states = rule.compiled->StateCount();
    }
    state.counters["states"] = static_cast<double>(states);
}
BENCHMARK(BM_CompileSimplePresent)->Unit(benchmark::kMillisecond);

void BM_BuildRuleTable(benchmark::State& state)
{
    for (auto _ : state) {
        RuleTable table;
        BuildRuleTable(table);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_BuildRuleTable)->Unit(benchmark::kMillisecond);

} // namespace
