// Checks the generated demo library as the program will meet it beside its own executable.
#include <algorithm>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "TempFolder.h"
#include "grammar/TextRules.h"
#include "library/Library.h"
#include "library/UserLibrary.h"
#include "library/SentenceAudio.h"
#include "search/GrammarMarks.h"

using namespace lectoria::library;
using lectoria::test::ReadBytes;
namespace fs = std::filesystem;

namespace {

const fs::path kRoot = LECTORIA_DEMO_ROOT;

std::vector<fs::path> AllLessons()
{
    std::vector<fs::path> lessons;
    for (const std::string& book : BookNames()) {
        for (const std::string& lesson : LessonFolders((kRoot / book).string())) {
            lessons.push_back(kRoot / book / lesson);
        }
    }
    return lessons;
}

TEST(DemoLibrary, EveryBookHasItsLessons)
{
    for (std::size_t i = 0; i < BookNames().size(); ++i) {
        const std::size_t lessons = LessonFolders((kRoot / BookNames()[i]).string()).size();
        EXPECT_GE(lessons, i < 4 ? 2u : 1u) << BookNames()[i];
    }
}

TEST(DemoLibrary, DefaultLessonListsInReadingOrder)
{
    // The tests are built beside the program, so this is the library a first start copies; the
    // program has an application object, which knows its folder.
    int argc = 1;
    char name[] = "test_demo_library";
    char* argv[] = {name, nullptr};
    const QCoreApplication application(argc, argv);
    const fs::path lesson = DemoLibraryDirectory() + NativeRelativePath(kDefaultLesson);
    const std::vector<std::string> titles = FillLessonList(lesson.string());
    ASSERT_GE(titles.size(), 6u) << lesson;
    EXPECT_EQ(SentenceNumber(titles.front()), 1);
}

TEST(DemoLibrary, LessonsAreNumberedInOrderWithQuestionsRestored)
{
    std::size_t questions = 0;
    std::size_t pieces = 0;
    for (const fs::path& lesson : AllLessons()) {
        const std::vector<std::string> titles = FillLessonList(lesson.string());
        EXPECT_GE(titles.size(), 6u) << lesson;
        EXPECT_LE(titles.size(), 15u) << lesson;
        for (std::size_t i = 0; i < titles.size(); ++i) {
            EXPECT_EQ(SentenceNumber(titles[i]), static_cast<int>(i + 1)) << titles[i];
            EXPECT_EQ(titles[i].find('^'), std::string::npos) << titles[i];
            questions += titles[i].back() == '?';
            pieces += !EndsSentence(titles[i]) || !StartsSentence(titles[i]);
            EXPECT_TRUE(fs::exists(SentenceAudioPath(lesson.string(), false, titles[i], ""))) << titles[i];
        }
    }
    EXPECT_GT(questions, 0u);
    EXPECT_GT(pieces, 0u);
}

TEST(DemoLibrary, SentenceFilesUnscrambleToMp3)
{
    for (const fs::path& lesson : AllLessons()) {
        const std::vector<std::string> titles = FillLessonList(lesson.string());
        ASSERT_FALSE(titles.empty()) << lesson;
        const std::string bytes = ReadBytes(SentenceAudioPath(lesson.string(), false, titles.front(), ""));
        ASSERT_GT(bytes.size(), 3u) << lesson;
        const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]) ^ kAudioKey; };
        const bool id3 = byte(0) == 'I' && byte(1) == 'D' && byte(2) == '3';
        const bool frameSync = byte(0) == 0xFF && (byte(1) & 0xE0) == 0xE0;
        EXPECT_TRUE(id3 || frameSync) << lesson;
    }
}

TEST(DemoLibrary, NoteFilesHaveOneCrLfLinePerSentence)
{
    for (const fs::path& lesson : AllLessons()) {
        const std::string notes = ReadBytes(NoteFileOf(lesson.string()));
        ASSERT_FALSE(notes.empty()) << lesson;
        const std::size_t lines = FillLessonList(lesson.string()).size();
        std::size_t crlf = 0;
        for (std::size_t at = notes.find("\r\n"); at != std::string::npos; at = notes.find("\r\n", at + 2)) {
            ++crlf;
        }
        EXPECT_EQ(crlf, lines) << lesson;
        EXPECT_EQ(notes.rfind("(1)", 0), 0u) << lesson;
        EXPECT_EQ(notes.substr(notes.size() - 2), "\r\n") << lesson;
    }
}

TEST(DemoLibrary, EveryMarkNamesADemoSentenceOnceInIdOrder)
{
    std::set<std::string> sentenceIds;
    for (const fs::path& lesson : AllLessons()) {
        const std::string prefix = lesson.parent_path().filename().string() + kItemPathSeparator +
                                   lesson.filename().string() + kItemPathSeparator;
        for (const std::string& title : FillLessonList(lesson.string())) {
            sentenceIds.insert(SentenceId(prefix + title));
        }
    }
    const std::string file = (kRoot / lectoria::search::kLibraryMarkFile).string();
    const std::vector<std::string> marks = lectoria::search::ReadMarkFile(file);
    const std::string bytes = ReadBytes(file);
    ASSERT_FALSE(marks.empty()) << file;
    EXPECT_EQ(marks.size(), static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')))
        << "every line is a mark entry";
    const std::set<std::string> knownTags = {"其他系动词",   "主谓宾宾补", "分词结构", "with分词结构",
                                             "独立结构",     "定语从句",   "名词从句", "状语从句",
                                             "虚拟语气主句", "过去分词",   "现在分词", "动名词"};
    std::string previous;
    for (const std::string& mark : marks) {
        const std::string id(lectoria::search::MarkIdOf(mark));
        EXPECT_TRUE(sentenceIds.count(id)) << mark;
        EXPECT_LT(previous, id) << mark;
        previous = id;
        for (const std::string& tag : lectoria::grammar::SplitList(mark.substr(id.size() + 1), '#')) {
            EXPECT_TRUE(knownTags.count(tag)) << mark;
        }
    }
}

} // namespace
