// Start-up in topic mode over a library of 180,000 sentences (9 books × 200 lessons × 100 files):
// how long until the list is filled and reading starts, and the longest time the window's thread
// was kept from its event loop meanwhile (what the user feels as a freeze).
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "BuiltInMediaModule.h"
#include "CParlivoDlg.h"
#include "FakeMediaPlayer.h"
#include "GeneratedLibrary.h"
#include "MemoryProfile.h"
#include "library/Library.h"

namespace fs = std::filesystem;
using namespace lectoria;

namespace {

constexpr int kLessonsPerBook = 200;
constexpr int kSentencesPerLesson = 100;

const fs::path& GeneratedLibrary()
{
    static const fs::path root =
        bench::GenerateLibrary("restore", kLessonsPerBook, kSentencesPerLesson, [](int sentence) {
            char title[64];
            std::snprintf(title, sizeof title, "%03d The boy has seen sentence %d.", sentence, sentence);
            return std::string(title);
        });
    return root;
}

void BM_TopicRestoreOf180000Results(benchmark::State& state)
{
    const fs::path root = GeneratedLibrary();
    std::string books;
    for (const std::string& book : library::BookNames()) {
        books += (books.empty() ? "" : "/") + book;
    }
    qint64 longestStall = 0;
    int listed = 0;
    for (auto _ : state) {
        test::MemoryProfile profile;
        profile.ints["isSelectSubject"] = 1;
        profile.strings["strSubjectBook"] = books;
        profile.strings["strSubjectWord"] = "+";
        profile.strings["strSubjectGrammar"] = "所有+所有+所有";
        profile.strings["strFullPath"] = (root / library::BookNames().front() / "Lesson 0001 Generated").string();
        test::FakeMediaPlayer player;
        ui::MainWindowOptions options;
        options.profile = &profile;
        options.player = &player;
        options.tempDir =
            (fs::temp_directory_path() / ("lectoria-bench-temp-" + std::to_string(::getpid()))).string() + "/";
        auto window = std::make_unique<ui::CParlivoDlg>(options);
        window->show();

        // A ticking timer sees every turn of the event loop; the widest gap is the longest freeze.
        QElapsedTimer clock;
        qint64 lastTick = 0;
        qint64 stall = 0;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            stall = std::max(stall, now - lastTick);
            lastTick = now;
        });
        clock.start();
        ticker.start();
        window->RestoreLastState();
        if (!QTest::qWaitFor([&window] { return !window->restoring(); }, 600000)) {
            state.SkipWithError("the restore did not finish within ten minutes");
            break;
        }
        QApplication::processEvents();
        stall = std::max(stall, clock.elapsed() - lastTick);
        ticker.stop();
        longestStall = std::max(longestStall, stall);
        listed = window->sentenceList()->count();
        window.reset();
    }
    state.counters["results"] = listed;
    state.counters["longest_stall_ms"] = static_cast<double>(longestStall);
}
BENCHMARK(BM_TopicRestoreOf180000Results)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    platform::UseMediaModule(platform::BuiltInMediaModule());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(GeneratedLibrary(), ignored);
    return 0;
}
