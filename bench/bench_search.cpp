// A whole topic search over a generated library of 100,000 sentences (LECTORIA_BENCH_SENTENCES
// sets another size), against a bare walk of the same folder tree that only lists the files: the
// search should cost little more than listing. Also the census of every topic against one search,
// and the memory a search that finds every sentence keeps.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "GeneratedLibrary.h"
#include "grammar/RuleTable.h"
#include "library/Library.h"
#include "grammar/TopicTableMatcher.h"
#include "search/TopicCensus.h"
#include "search/TopicSearch.h"

namespace fs = std::filesystem;
using namespace lectoria;

namespace {

constexpr int kSentencesPerLesson = 111; // 9 books × 100 lessons × 111 ≈ 100,000 sentences

int LessonsPerBook()
{
    static const int lessons = [] {
        const char* wanted = std::getenv("LECTORIA_BENCH_SENTENCES");
        const long sentences = wanted != nullptr ? std::atol(wanted) : 100'000;
        return std::max(1, static_cast<int>(sentences / (9 * kSentencesPerLesson)));
    }();
    return lessons;
}

const char* const kWords[] = {"the",     "a",         "boy",     "girl",  "has",     "have",    "had",
                              "been",    "is",        "was",     "going", "went",    "to",      "school",
                              "teacher", "book",      "it's",    "isn't", "five",    "pounds",  "$5",
                              "quickly", "yesterday", "will",    "would", "if",      "when",    "which",
                              "never",   "seen",      "written", "lives", "watches", "playing", "happily"};

/// Builds the library once per process, in the system's temporary folder.
const fs::path& GeneratedLibrary()
{
    static const fs::path root = [] {
        std::mt19937 random(11);
        std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
        std::uniform_int_distribution<int> length(4, 12);
        return bench::GenerateLibrary("library", LessonsPerBook(), kSentencesPerLesson, [&](int sentence) {
            char number[8];
            std::snprintf(number, sizeof number, "%03d ", sentence);
            std::string title(number);
            for (int w = length(random); w > 0; --w) {
                title.append(kWords[word(random)]);
                title.push_back(w == 1 ? '.' : ' ');
            }
            return title;
        });
    }();
    return root;
}

/// Lists every sentence file of the library and does nothing else with it.
std::size_t BareWalk(const fs::path& root)
{
    std::size_t files = 0;
    for (const std::string& book : library::BookNames()) {
        for (const fs::directory_entry& lesson : fs::directory_iterator(root / book)) {
            for (const fs::directory_entry& file : fs::directory_iterator(lesson.path())) {
                files += file.path().extension() == ".sau";
            }
        }
    }
    return files;
}

const grammar::RuleTable& Table()
{
    return lectoria::grammar::BuiltInRuleTable();
}

const char* const kTopics[] = {"所有+所有+所有", "时态+现在一般时"};

search::SearchRequest OverAllBooks(const fs::path& root, const char* topic, int threads)
{
    search::SearchRequest request;
    request.strFullPath = (root / "New Concept English Book 1" / "Lesson 0001 Generated").string();
    request.strSubjectBook = library::BookList();
    request.strSubjectGrammar = topic;
    request.threads = threads;
    return request;
}

void BM_BareWalk(benchmark::State& state)
{
    const fs::path& root = GeneratedLibrary();
    for (auto _ : state) {
        benchmark::DoNotOptimize(BareWalk(root));
    }
}
BENCHMARK(BM_BareWalk)->Unit(benchmark::kMillisecond);

/// Arguments: topic (0 all, 1 simple present), threads.
void BM_TopicSearch(benchmark::State& state)
{
    const fs::path& root = GeneratedLibrary();
    const search::SearchRequest request = OverAllBooks(root, kTopics[state.range(0)], static_cast<int>(state.range(1)));
    std::size_t found = 0;
    for (auto _ : state) {
        found = search::RunTopicSearch(Table(), request).size();
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(kTopics[state.range(0)]);
    state.counters["found"] = static_cast<double>(found);
    state.counters["sentences"] = 9.0 * LessonsPerBook() * kSentencesPerLesson;
}
BENCHMARK(BM_TopicSearch)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond);

/// Times the walk and the search in turns and reports how many times slower the search is.
/// Arguments as BM_TopicSearch.
void BM_SearchOverWalkRatio(benchmark::State& state)
{
    const fs::path& root = GeneratedLibrary();
    const search::SearchRequest request = OverAllBooks(root, kTopics[state.range(0)], static_cast<int>(state.range(1)));
    double walkSeconds = 0;
    double searchSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(BareWalk(root));
        auto middle = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(search::RunTopicSearch(Table(), request).size());
        auto end = std::chrono::steady_clock::now();
        walkSeconds += std::chrono::duration<double>(middle - start).count();
        searchSeconds += std::chrono::duration<double>(end - middle).count();
    }
    state.SetLabel(kTopics[state.range(0)]);
    state.counters["search_over_walk"] = searchSeconds / walkSeconds;
}
BENCHMARK(BM_SearchOverWalkRatio)->ArgsProduct({{0, 1}, {1, 2}})->Unit(benchmark::kMillisecond)->Iterations(5);

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

/// The memory a search that finds every sentence keeps: its results' growth of the peak resident
/// size, per hit. Run first in a fresh process (--benchmark_filter=Memory) for a clean peak.
void BM_MemoryOfEverySentence(benchmark::State& state)
{
    const fs::path& root = GeneratedLibrary();
    const search::SearchRequest request = OverAllBooks(root, kTopics[0], 1);
    BareWalk(root);
    const long before = PeakRssKb();
    std::size_t found = 0;
    for (auto _ : state) {
        const search::SearchResults results = search::RunTopicSearch(Table(), request);
        found = results.size();
        benchmark::DoNotOptimize(results.Item(found - 1));
    }
    const double grown = static_cast<double>(PeakRssKb() - before) * 1024.0;
    state.counters["found"] = static_cast<double>(found);
    state.counters["peak_rss_growth_MB"] = grown / 1e6;
    state.counters["bytes_per_hit"] = grown / static_cast<double>(found);
}
BENCHMARK(BM_MemoryOfEverySentence)->Unit(benchmark::kMillisecond)->Iterations(1);

/// Every topic of the chosen books at once, against one single-topic search of the same books.
/// Argument: threads.
void BM_CensusOverSearchRatio(benchmark::State& state)
{
    const fs::path& root = GeneratedLibrary();
    const grammar::TopicTableMatcher matcher(Table());
    const int threads = static_cast<int>(state.range(0));
    const search::SearchRequest request = OverAllBooks(root, kTopics[1], threads);
    double searchSeconds = 0;
    double censusSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(search::RunTopicSearch(Table(), request).size());
        auto middle = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(search::RunTopicCensus(matcher, root.string(), library::BookList(), threads));
        auto end = std::chrono::steady_clock::now();
        searchSeconds += std::chrono::duration<double>(middle - start).count();
        censusSeconds += std::chrono::duration<double>(end - middle).count();
    }
    state.counters["census_s"] = censusSeconds / static_cast<double>(state.iterations());
    state.counters["census_over_search"] = censusSeconds / searchSeconds;
}
BENCHMARK(BM_CensusOverSearchRatio)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(GeneratedLibrary(), ignored);
    return 0;
}
