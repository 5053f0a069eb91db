// A whole topic search over a generated library of 100,000 sentences, against a bare walk of the
// same folder tree that only lists the files: the search should cost little more than listing.
#include <filesystem>
#include <random>
#include <string>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "GeneratedLibrary.h"
#include "grammar/RuleTable.h"
#include "library/Library.h"
#include "search/TopicSearch.h"

namespace fs = std::filesystem;
using namespace lectoria;

namespace {

constexpr int kLessonsPerBook = 100;
constexpr int kSentencesPerLesson = 111; // 9 books × 100 lessons × 111 ≈ 100,000 sentences

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
        return bench::GenerateLibrary("library", kLessonsPerBook, kSentencesPerLesson, [&](int sentence) {
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

search::SearchRequest SimplePresentOverAllBooks(const fs::path& root)
{
    search::SearchRequest request;
    request.strFullPath = (root / "New Concept English Book 1" / "Lesson 001 Generated").string();
    request.strSubjectBook = library::BookList();
    request.strSubjectGrammar = "时态+现在一般时";
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

void BM_TopicSearch(benchmark::State& state)
{
    const fs::path& root = GeneratedLibrary();
    grammar::RuleTable table;
    grammar::BuildRuleTable(table);
    const search::SearchRequest request = SimplePresentOverAllBooks(root);
    std::size_t found = 0;
    for (auto _ : state) {
        found = search::RunTopicSearch(table, request).items.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["sentences"] = 9.0 * kLessonsPerBook * kSentencesPerLesson;
}
BENCHMARK(BM_TopicSearch)->Unit(benchmark::kMillisecond);

/// Times both in one run and prints how many times slower the search is than the bare walk.
void BM_SearchOverWalkRatio(benchmark::State& state)
{
    const fs::path& root = GeneratedLibrary();
    grammar::RuleTable table;
    grammar::BuildRuleTable(table);
    const search::SearchRequest request = SimplePresentOverAllBooks(root);
    double walkSeconds = 0;
    double searchSeconds = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(BareWalk(root));
        auto middle = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(search::RunTopicSearch(table, request).items.size());
        auto end = std::chrono::steady_clock::now();
        walkSeconds += std::chrono::duration<double>(middle - start).count();
        searchSeconds += std::chrono::duration<double>(end - middle).count();
    }
    state.counters["search_over_walk"] = searchSeconds / walkSeconds;
}
BENCHMARK(BM_SearchOverWalkRatio)->Unit(benchmark::kMillisecond)->Iterations(5);

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
