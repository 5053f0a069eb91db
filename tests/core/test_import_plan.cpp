// Turning cues into sentences: ordering, clipping and skipping, file names, silence trimming.
#include <cmath>

#include <gtest/gtest.h>

#include "import/CuePlan.h"
#include "import/SentenceFileNames.h"
#include "import/SilenceTrim.h"
#include "library/Library.h"

using namespace lectoria::import;

namespace {

Cue MakeCue(std::int64_t start, std::int64_t end, std::vector<std::string> lines)
{
    return Cue{start, end, std::move(lines)};
}

TEST(CuePlan, LrcCuesRunToTheNextCueAndTheLastToTheEnd)
{
    TimedText lrc;
    lrc.cues = {MakeCue(5000, -1, {"Second."}), MakeCue(1000, -1, {"First.", "第一句。"}),
                MakeCue(9000, -1, {""}),        MakeCue(9500, -1, {"♪ ♪"}),
                MakeCue(12000, -1, {"Last."}),  MakeCue(30000, -1, {"After the end."})};
    const CuePlan plan = PlanCues(lrc, 20000);
    ASSERT_EQ(plan.sentences.size(), 3u);
    EXPECT_EQ(plan.sentences[0].text, "First.");
    EXPECT_EQ(plan.sentences[0].note, "第一句。");
    EXPECT_EQ(plan.sentences[0].startMs, 1000);
    EXPECT_EQ(plan.sentences[0].endMs, 5000);
    // The empty line marks where "Second." stops.
    EXPECT_EQ(plan.sentences[1].endMs, 9000);
    EXPECT_EQ(plan.sentences[2].startMs, 12000);
    EXPECT_EQ(plan.sentences[2].endMs, 20000);
    ASSERT_EQ(plan.skipped.size(), 3u);
    EXPECT_EQ(plan.skipped[0].reason, SkipReason::Empty);
    EXPECT_EQ(plan.skipped[1].reason, SkipReason::NotEnglish);
    EXPECT_EQ(plan.skipped[1].text, "♪ ♪");
    EXPECT_EQ(plan.skipped[2].reason, SkipReason::PastEnd);

    // Before the audio is decoded the last cue has no known end.
    EXPECT_EQ(PlanCues(lrc, -1).sentences.back().endMs, -1);
}

TEST(CuePlan, OverlappingCuesAreClippedAtTheNextStart)
{
    TimedText srt;
    srt.format = TimedTextFormat::Srt;
    srt.cues = {MakeCue(0, 4000, {"One."}),      MakeCue(3000, 6000, {"Two."}),  MakeCue(3000, 3050, {"Tiny."}),
                MakeCue(6500, 8000, {"Three."}), MakeCue(7000, 9900, {"Four."}), MakeCue(9800, 12000, {"Five."})};
    const CuePlan plan = PlanCues(srt, 10000);
    std::vector<std::pair<std::int64_t, std::int64_t>> times;
    for (const PlannedSentence& sentence : plan.sentences) {
        times.emplace_back(sentence.startMs, sentence.endMs);
    }
    EXPECT_EQ(times, (std::vector<std::pair<std::int64_t, std::int64_t>>{
                         {0, 3000}, {3000, 6000}, {6500, 7000}, {7000, 9800}, {9800, 10000}}));
    // "Two." and "Tiny." start together; "Tiny." ends before it could hold a sentence.
    ASSERT_EQ(plan.skipped.size(), 1u);
    EXPECT_EQ(plan.skipped[0].text, "Tiny.");
    EXPECT_EQ(plan.skipped[0].reason, SkipReason::NoLength);
}

TEST(FileNames, UnsafeCharactersQuestionMarksAndLength)
{
    struct Case
    {
        const char* text;
        const char* title;
    };
    const Case cases[] = {
        {"Is it far?", "01 Is it far?"},
        {"He said \"no\" at 10:30 / 11:00.", "01 He said 'no' at 10-30 - 11-00."},
        {"a<b>c|d\\e*f^g", "01 a(b)c-d-efg"},
        {"tab\there\x01 and  blanks ", "01 tab here and blanks"},
        {"Café au lait.", "01 Café au lait."},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> titles = SentenceTitles({c.text});
        ASSERT_EQ(titles.size(), 1u);
        EXPECT_EQ(titles[0], c.title) << c.text;
    }
    EXPECT_EQ(SentenceFileName("02 Yes? Can I help you?"), "02 Yes^ Can I help you^.sau");
    EXPECT_EQ(lectoria::library::FileNameToTitle("02 Yes^ Can I help you^"), "02 Yes? Can I help you?");

    // Long sentences are cut at a character boundary; the numbers keep cut names apart.
    const std::string longText = std::string(300, 'a') + "中文";
    const std::string longChinese = std::string(250, 'b') + "中中中中中中";
    const std::vector<std::string> titles = SentenceTitles({longText, longText, longChinese});
    for (const std::string& title : titles) {
        EXPECT_LE(SentenceFileName(title).size(), kMaxFileNameBytes);
        EXPECT_GE(SentenceFileName(title).size(), kMaxFileNameBytes - 3);
        const std::string tail = title.substr(title.size() - 3);
        EXPECT_TRUE(tail == "中" || tail.find_first_not_of("ab") == std::string::npos) << title;
    }
    EXPECT_NE(titles[0], titles[1]);
}

TEST(FileNames, NumbersSortInReadingOrder)
{
    const std::vector<std::string> nine(9, "Hi.");
    EXPECT_EQ(SentenceTitles(nine).back(), "09 Hi.");
    const std::vector<std::string> many(120, "Hi.");
    const std::vector<std::string> titles = SentenceTitles(many);
    EXPECT_EQ(titles.front(), "001 Hi.");
    EXPECT_EQ(titles.back(), "120 Hi.");
    for (std::size_t i = 1; i < titles.size(); ++i) {
        EXPECT_TRUE(lectoria::library::LessThanIgnoringCase(titles[i - 1], titles[i])) << titles[i];
        EXPECT_EQ(lectoria::library::SentenceNumber(titles[i]), static_cast<int>(i + 1));
    }
}

TEST(FileNames, LessonFoldersAndNextNumber)
{
    EXPECT_EQ(LessonFolderName("004", "Mr. Li's day: part 2?"), "Lesson 004 Mr Li's day- part 2");
    EXPECT_EQ(NextLessonNumber({}), "001");
    EXPECT_EQ(NextLessonNumber({"Lesson 001 A", "lesson 012 B", "Lesson 05 C", "Lessons", "Lesson 9"}), "013");
    EXPECT_EQ(SafeNamePart("My Book.", true), "My Book");
    EXPECT_EQ(SafeNamePart("New Concept English Book 1", true), "New Concept English Book 1");
}

std::vector<std::int16_t> Tone(std::vector<std::int16_t> samples, std::size_t from, std::size_t to, double amplitude)
{
    for (std::size_t i = from; i < to; ++i) {
        samples[i] = static_cast<std::int16_t>(amplitude * std::sin(static_cast<double>(i) * 0.3));
    }
    return samples;
}

TEST(SilenceTrim, KeepsAMarginAroundTheSoundAndNeverCutsIntoIt)
{
    constexpr int rate = 16000;
    struct Case
    {
        const char* name;
        std::size_t length, soundFrom, soundTo;
        double noise;
        std::size_t first, end;
    };
    const Case cases[] = {
        // 1 s of silence, 1 s of sound, 1 s of silence: 150 ms of silence stays on each side.
        {"centred", 48000, 16000, 32000, 0, 16000 - 2400, 32000 + 2400},
        // Sound right at the start and end leaves nothing to trim.
        {"full", 16000, 0, 16000, 0, 0, 16000},
        // Less silence than the margin: all of it stays.
        {"short gaps", 20000, 1000, 19000, 0, 0, 20000},
        // Steady hum far below the speech counts as silence.
        {"hum", 48000, 16000, 32000, 150, 16000 - 2400, 32000 + 2400},
        // No sound at all: kept whole rather than emptied.
        {"silent", 8000, 0, 0, 0, 0, 8000},
    };
    for (const Case& c : cases) {
        std::vector<std::int16_t> samples(c.length, 0);
        if (c.noise > 0) {
            samples = Tone(samples, 0, c.length, c.noise);
        }
        samples = Tone(samples, c.soundFrom, c.soundTo, 8000);
        const SampleRange range = TrimSilence(samples.data(), samples.size(), rate);
        EXPECT_LE(range.first, c.soundFrom) << c.name;
        EXPECT_GE(range.end, c.soundTo) << c.name;
        EXPECT_NEAR(static_cast<double>(range.first), static_cast<double>(c.first), 160.0) << c.name;
        EXPECT_NEAR(static_cast<double>(range.end), static_cast<double>(c.end), 160.0) << c.name;
    }
}

} // namespace
