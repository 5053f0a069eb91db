#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "FileSizeLimit.h"
#include "MemoryProfile.h"
#include "TempFolder.h"
#include "practice/RecordingStore.h"
#include "practice/WavFile.h"
#include "reading/SpeedSchedule.h"
#include "settings/Settings.h"

using namespace lectoria;
using lectoria::test::TempFolder;

namespace {

TEST(SpeedSchedule, TypedSchedulesAreReadAsLearnersWriteThem)
{
    struct Case
    {
        const char* typed;
        const char* schedule; ///< nullptr: refused
        std::vector<double> speeds;
    };
    const Case cases[] = {
        {"1.0", "1.0", {1.0}},
        {"0.7, 0.85, 1.0", "0.7, 0.85, 1.0", {0.7, 0.85, 1.0}},
        {"0.7,0.85,1", "0.7, 0.85, 1.0", {0.7, 0.85, 1.0}},
        {"0.6，0.8、1.0", "0.6, 0.8, 1.0", {0.6, 0.8, 1.0}},
        {" 0.5x 0.75× 1.5X ", "0.5, 0.75, 1.5", {0.5, 0.75, 1.5}},
        {"0.666", "0.67", {0.67}},
        {"", nullptr, {}},
        {"  , ", nullptr, {}},
        {"0.4", nullptr, {}},
        {"1.6", nullptr, {}},
        {"-1", nullptr, {}},
        {"slow", nullptr, {}},
        {"0.7abc", nullptr, {}},
        {"0.7 0.8 0.9 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0", nullptr, {}},
        {"nan", nullptr, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.typed);
        std::string why;
        const auto schedule = reading::ParseSpeedSchedule(test.typed, &why);
        if (test.schedule == nullptr) {
            EXPECT_FALSE(schedule.has_value());
            EXPECT_FALSE(why.empty());
            continue;
        }
        ASSERT_TRUE(schedule.has_value()) << why;
        EXPECT_EQ(schedule->Text(), test.schedule);
        EXPECT_EQ(schedule->speeds(), test.speeds);
    }
}

TEST(SpeedSchedule, LaterRepetitionsKeepTheLastSpeedAndEveryPresetReadsBack)
{
    const reading::SpeedSchedule schedule({0.7, 0.85, 1.0});
    EXPECT_EQ(schedule.SpeedOf(1), 0.7);
    EXPECT_EQ(schedule.SpeedOf(2), 0.85);
    EXPECT_EQ(schedule.SpeedOf(3), 1.0);
    EXPECT_EQ(schedule.SpeedOf(20), 1.0);
    EXPECT_FALSE(schedule.isNormal());
    EXPECT_TRUE(reading::SpeedSchedule().isNormal());
    for (const std::string& preset : reading::SpeedPresets()) {
        const auto parsed = reading::ParseSpeedSchedule(preset);
        ASSERT_TRUE(parsed.has_value()) << preset;
        EXPECT_EQ(parsed->Text(), preset);
    }
    EXPECT_EQ(reading::SpeedText(0.85), "0.85×");
}

TEST(SpeedSchedule, ADamagedStoredScheduleReadsAtNormalSpeed)
{
    for (const char* stored : {"0.1, 9", "", "abc"}) {
        test::MemoryProfile profile;
        profile.WriteString("strSpeedSchedule", stored);
        EXPECT_EQ(settings::LoadSettings(profile, {}).strSpeedSchedule, "1.0") << stored;
    }
    test::MemoryProfile profile;
    profile.WriteString("strSpeedSchedule", "0.7,0.85,1");
    EXPECT_EQ(settings::LoadSettings(profile, {}).strSpeedSchedule, "0.7, 0.85, 1.0");
}

TEST(RecordingStore, RecordingsLiveOutsideTheLibraryPerSentenceAndTheNewestFiveAreKept)
{
    TempFolder folder;
    practice::RecordingStore store((folder.path() / "recordings").string());
    const std::string sentence = "/library/Book 1/Lesson 2/05 Is it your coat^.sau";
    EXPECT_EQ(store.FolderOf(sentence), (folder.path() / "recordings/Book 1/Lesson 2/05 Is it your coat^").string());
    EXPECT_EQ(store.FolderOf("Book 1\\Lesson 2\\05 Is it your coat^.sau"), store.FolderOf(sentence))
        << "the list's own paths and file paths name the same sentence";
    EXPECT_EQ(store.LastRecordingOf(sentence), "");

    const std::int64_t start = 1796947200000; // 2026-12-11 00:00:00 UTC
    std::vector<std::string> kept;
    for (int i = 0; i < 7; ++i) {
        std::string why;
        kept.push_back(store.Keep(sentence, QByteArray("mp3-").append(QByteArray::number(i)), start + i * 1500, &why));
        ASSERT_FALSE(kept.back().empty()) << why;
    }
    EXPECT_EQ(std::filesystem::path(kept.front()).filename(), "20261211-000000-000.mp3");
    const std::vector<std::string> recordings = store.RecordingsOf(sentence);
    EXPECT_EQ(recordings, std::vector<std::string>(kept.begin() + 2, kept.end()));
    EXPECT_EQ(store.LastRecordingOf(sentence), kept.back());
    std::ifstream last(kept.back(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(last), {}), "mp3-6");

    // Two recordings in one millisecond both survive.
    const std::string same = store.Keep(sentence, "again", start + 6 * 1500, nullptr);
    EXPECT_NE(same, kept.back());
    EXPECT_FALSE(same.empty());
}

TEST(RecordingStore, ASentenceNamedToClimbOutStaysInsideAndAFullDiskKeepsTheOldRecording)
{
    TempFolder folder;
    practice::RecordingStore store((folder.path() / "recordings").string());
    const std::string folderOf = store.FolderOf("../../...sau");
    EXPECT_EQ(folderOf.rfind((folder.path() / "recordings").string(), 0), 0u) << folderOf;
    EXPECT_EQ(folderOf.find("/../"), std::string::npos) << folderOf;

    // A full disk: the older recording stays whole and nothing half-written is left as the newest.
    const std::string sentence = "Book/Lesson/01 A.sau";
    const std::string old = store.Keep(sentence, QByteArray(64, 'o'), 0, nullptr);
    ASSERT_FALSE(old.empty());
    std::string why;
    {
        test::FileSizeLimit limit(16);
        ASSERT_TRUE(limit.active());
        EXPECT_EQ(store.Keep(sentence, QByteArray(4096, 'n'), 1000, &why), "");
    }
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(store.RecordingsOf(sentence), std::vector<std::string>{old});
    EXPECT_EQ(std::filesystem::file_size(old), 64u);
}

TEST(WavFile, HeaderDescribesMonoSixteenBitAtTheRate)
{
    lectoria::import::PcmAudio audio;
    audio.sampleRate = 22050;
    audio.samples = {0, 1, -1, 32767, -32768};
    const QByteArray wav = practice::WavBytes(audio);
    ASSERT_EQ(wav.size(), 44 + 10);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    const auto u32 = [&wav](int at) {
        return static_cast<std::uint32_t>(static_cast<std::uint8_t>(wav[at])) |
               static_cast<std::uint32_t>(static_cast<std::uint8_t>(wav[at + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<std::uint8_t>(wav[at + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<std::uint8_t>(wav[at + 3])) << 24;
    };
    EXPECT_EQ(u32(4), 36u + 10u);
    EXPECT_EQ(u32(24), 22050u);
    EXPECT_EQ(u32(40), 10u);
    EXPECT_EQ(static_cast<std::uint8_t>(wav[50]), 0xFF); // 32767, little-endian
    EXPECT_EQ(static_cast<std::uint8_t>(wav[51]), 0x7F);
    EXPECT_EQ(static_cast<std::uint8_t>(wav[53]), 0x80); // -32768
}

} // namespace
