// Baseline of search speed: one large rule over a few thousand sentences.
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "grammar/TextRules.h"

using namespace lectoria::grammar;

namespace {

const char* const kWords[] = {"the",  "a",     "boy",     "girl", "has",    "have",   "had",     "been",
                              "is",   "was",   "going",   "went", "to",     "school", "teacher", "book",
                              "it's", "isn't", "o'clock", "five", "pounds", "$5",     "quickly", "yesterday",
                              "will", "would", "if",      "when", "which"};

std::vector<std::string> Sentences(std::size_t count)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    std::uniform_int_distribution<int> length(4, 14);
    std::vector<std::string> sentences;
    for (std::size_t i = 0; i < count; ++i) {
        std::string sentence;
        for (int w = length(random); w > 0; --w) {
            sentence += kWords[word(random)];
            sentence += w == 1 ? "." : (w % 5 == 0 ? ", " : " ");
        }
        sentences.push_back(sentence);
    }
    return sentences;
}

// A rule shaped like the large verb-form rules: thousands of whole-word entries that rarely occur.
std::string LargeRule(std::size_t entries)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::string anyOf;
    for (std::size_t i = 0; i < entries; ++i) {
        std::string word;
        for (int k = 0; k < 7; ++k) {
            word += static_cast<char>(letter(random));
        }
        anyOf += (i ? "/ " : " ") + word + "s ";
    }
    return " has +" + anyOf + "+ lesson ++ at the moment / in a minute ";
}

void BM_MatchRuleLargeRule(benchmark::State& state)
{
    const TopicRule rule = ParseTopicRule(LargeRule(static_cast<std::size_t>(state.range(0))));
    const std::vector<std::string> sentences = Sentences(3000);
    for (auto _ : state) {
        for (const std::string& sentence : sentences) {
            benchmark::DoNotOptimize(MatchRule(rule, sentence));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * sentences.size()));
}
BENCHMARK(BM_MatchRuleLargeRule)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

void BM_NormalizeSentence(benchmark::State& state)
{
    const std::vector<std::string> sentences = Sentences(3000);
    for (auto _ : state) {
        for (const std::string& sentence : sentences) {
            benchmark::DoNotOptimize(NormalizeSentence(sentence));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * sentences.size()));
}
BENCHMARK(BM_NormalizeSentence);

} // namespace
