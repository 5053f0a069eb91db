// Lessons imported from a spoken recording with its timed text, and from text through speech.
#include <sstream>

#include <gtest/gtest.h>

#include "Cli.h"
#include "Gb18030.h"
#include "ImportTesting.h"
#include "import/SilenceTrim.h"
#include "import/TimedText.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"
#include "notes/LessonNotes.h"

using namespace lectoria;
using namespace lectoria::test;
namespace fs = std::filesystem;

namespace {

enum class Encoding
{
    Utf8,
    Utf8Bom,
    Utf16Bom,
    Gb18030,
};

std::string Encode(const std::string& utf8, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return utf8;
    case Encoding::Utf8Bom:
        return "\xEF\xBB\xBF" + utf8;
    case Encoding::Gb18030:
        return Gb18030(utf8.c_str());
    case Encoding::Utf16Bom: {
        const std::u16string text = QString::fromStdString(utf8).toStdU16String();
        std::string bytes = "\xFF\xFE";
        for (const char16_t c : text) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        return bytes;
    }
    }
    return utf8;
}

// A cue starts this long before its sentence's audio and (SRT, WebVTT) ends this long after it,
// inside the silence between sentences.
constexpr std::int64_t kCuePadMs = 300;

std::int64_t CueStart(const SpokenSentence& sentence)
{
    return (sentence.placedStartMs - kCuePadMs) / 10 * 10; // LRC keeps hundredths
}

std::string TimedTextOf(import::TimedTextFormat format, bool bilingual)
{
    std::string text = format == import::TimedTextFormat::WebVtt ? "WEBVTT\n\n"
                       : format == import::TimedTextFormat::Lrc  ? "[ti:Fixture]\n[ar:espeak-ng]\n"
                                                                 : "";
    int index = 1;
    for (const SpokenSentence& sentence : Media().recording.sentences) {
        const std::string note = bilingual ? sentence.note + "\n" : std::string();
        if (format == import::TimedTextFormat::Lrc) {
            const std::string tag = "[" + LrcTime(CueStart(sentence)) + "]";
            text += tag + sentence.text + "\n" + (bilingual ? tag + sentence.note + "\n" : "");
            continue;
        }
        const char separator = format == import::TimedTextFormat::Srt ? ',' : '.';
        text += std::to_string(index++) + "\n" + ClockTime(CueStart(sentence), separator) + " --> " +
                ClockTime(sentence.placedEndMs + kCuePadMs, separator) + "\n" + sentence.text + "\n" + note + "\n";
    }
    return text;
}

const std::vector<std::string> kTitles = {
    "01 Good morning.",
    "02 Could you tell me the way to the old harbour, please?",
    "03 I like tea.",
    "04 The museum opens at nine and closes at half past five.",
};

// Decodes a sentence file the way the player gets it: unscrambled, then through GStreamer.
lectoria::import::PcmAudio DecodePiece(const fs::path& sau, const fs::path& scratch)
{
    const fs::path mp3 = scratch / "piece.mp3";
    EXPECT_TRUE(library::ScrambleFile(sau.string(), mp3.string()).ok());
    platform::GstAudioDecoder decoder;
    lectoria::import::PcmAudio audio;
    EXPECT_TRUE(decoder.Decode(mp3.string(), audio, nullptr).ok()) << sau;
    return audio;
} // namespace

// Checks the pieces of an imported fixture lesson against where each sentence was spoken.
void CheckPieces(const import::ImportResult& result, bool timedEnds, const fs::path& scratch)
{
    const std::vector<SpokenSentence>& spoken = Media().recording.sentences;
    ASSERT_EQ(result.sentences.size(), spoken.size());
    for (std::size_t i = 0; i < spoken.size(); ++i) {
        const import::ImportedSentence& piece = result.sentences[i];
        SCOPED_TRACE(piece.title);
        const std::int64_t cueStart = CueStart(spoken[i]);
        const std::int64_t cueEnd = timedEnds               ? spoken[i].placedEndMs + kCuePadMs
                                    : i + 1 < spoken.size() ? CueStart(spoken[i + 1])
                                                            : Media().recording.audio.DurationMs();
        // Trimmed to about 150 ms of silence around the sound, never past the cue.
        EXPECT_NEAR(piece.startMs, std::max(cueStart, spoken[i].soundStartMs - 150), 50);
        EXPECT_NEAR(piece.endMs, std::min(cueEnd, spoken[i].soundEndMs + 150), 50);
        EXPECT_GE(piece.startMs, cueStart);
        EXPECT_LE(piece.endMs, cueEnd);

        const import::PcmAudio audio = DecodePiece(fs::path(result.lessonPath) / piece.fileName, scratch);
        // MP3 adds at most about a frame of encoder delay and padding.
        EXPECT_GE(audio.DurationMs(), piece.endMs - piece.startMs - 5);
        EXPECT_LE(audio.DurationMs(), piece.endMs - piece.startMs + 110);
        // Its own sentence: sound as long as that sentence's, framed by the kept silence.
        const auto [soundStart, soundEnd] = SoundExtentMs(audio);
        ASSERT_GE(soundStart, 0);
        EXPECT_NEAR(soundEnd - soundStart, spoken[i].soundEndMs - spoken[i].soundStartMs, 60);
        EXPECT_NEAR(soundStart, spoken[i].soundStartMs - piece.startMs, 60);
        EXPECT_GE(soundStart, 90);
        EXPECT_LE(soundStart, 230);
    }
}

struct Row
{
    const char* name;
    const fs::path& (*audio)();
    lectoria::import::TimedTextFormat format;
    Encoding encoding;
    bool bilingual;
};

const fs::path& Wav()
{
    return Media().wav;
}
const fs::path& Mp3()
{
    return Media().mp3;
}
const fs::path& Flac()
{
    return Media().flac;
}
const fs::path& Mkv()
{
    return Media().mkv;
}

TEST(ImportLessons, RecordingsWithTimedTextBecomeLessons)
{
    const Row rows[] = {
        {"mp3 lrc utf8", Mp3, import::TimedTextFormat::Lrc, Encoding::Utf8, false},
        {"mp3 lrc gb18030 bilingual", Mp3, import::TimedTextFormat::Lrc, Encoding::Gb18030, true},
        {"wav srt utf8-bom bilingual", Wav, import::TimedTextFormat::Srt, Encoding::Utf8Bom, true},
        {"flac vtt utf8", Flac, import::TimedTextFormat::WebVtt, Encoding::Utf8, false},
        {"mp3 srt gb18030 bilingual", Mp3, import::TimedTextFormat::Srt, Encoding::Gb18030, true},
        {"wav vtt utf16 bilingual", Wav, import::TimedTextFormat::WebVtt, Encoding::Utf16Bom, true},
        {"mkv video srt utf8", Mkv, import::TimedTextFormat::Srt, Encoding::Utf8, false},
    };
    TempFolder folder;
    RealMedia media;
    int rowNumber = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const fs::path root = folder.path() / ("library" + std::to_string(++rowNumber));
        fs::create_directories(root);
        const char* extension = row.format == import::TimedTextFormat::Lrc   ? "lrc"
                                : row.format == import::TimedTextFormat::Srt ? "srt"
                                                                             : "vtt";
        const fs::path timed = folder.Write(std::string("cues") + std::to_string(rowNumber) + "." + extension,
                                            Encode(TimedTextOf(row.format, row.bilingual), row.encoding));
        lectoria::import::ImportRequest request;
        request.libraryRoot = root.string();
        request.book = "My Lessons";
        request.title = "At the harbour";
        request.audioPath = row.audio().string();
        request.timedTextPath = timed.string();
        std::vector<std::pair<int, int>> progress;
        const import::ImportResult result = import::ImportLesson(
            request, media.services(), [&progress](int done, int total) { progress.emplace_back(done, total); });
        ASSERT_TRUE(result.ok()) << import::ImportErrorMessage(result);

        const fs::path lesson = root / "My Lessons" / "Lesson 001 At the harbour";
        EXPECT_EQ(result.lessonPath, lesson.string());
        EXPECT_EQ(library::FillLessonList(lesson.string()), kTitles);
        EXPECT_TRUE(fs::exists(lesson / "02 Could you tell me the way to the old harbour, please^.sau"));
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(lesson)) {
            ++files;
        }
        EXPECT_EQ(files, kTitles.size() + 1); // the sentence files and the note file, nothing else
        EXPECT_EQ(Snapshot(root / "My Lessons").size(), files + 1);

        const notes::LessonNotes lessonNotes(lesson.string());
        ASSERT_EQ(lessonNotes.state(), notes::LessonNotes::State::Loaded);
        for (std::size_t i = 0; i < kTitles.size(); ++i) {
            const int k = static_cast<int>(i + 1);
            EXPECT_EQ(lessonNotes.NoteLine(k),
                      notes::NotePrefix(k) + (row.bilingual ? FixtureSentences()[i].second : std::string()));
        }
        // One line per sentence, each ended by CR LF.
        const std::string noteBytes = ReadBytes(lessonNotes.noteFile());
        std::size_t lineEnds = 0;
        for (std::size_t at = noteBytes.find("\r\n"); at != std::string::npos; at = noteBytes.find("\r\n", at + 2)) {
            ++lineEnds;
        }
        EXPECT_EQ(lineEnds, kTitles.size());
        EXPECT_EQ(progress.back(), std::make_pair(5, 5));

        CheckPieces(result, row.format != import::TimedTextFormat::Lrc, folder.path());
    }
}

TEST(ImportLessons, TextIsSpokenSentenceBySentence)
{
    TempFolder folder;
    RealMedia media;
    const fs::path text = folder.Write(
        "story.txt", Gb18030("Mr. Brown lives in the U.S. with his dog. He is 3.5 metres tall!\n"
                             "布朗先生住在美国。\n\n"
                             "\"Is that true?\" asked Dr. Lee (a friend, e.g. from school). Nobody knows.\n"));
    lectoria::import::ImportRequest request;
    request.libraryRoot = folder.path().string();
    request.book = "New Concept English Book 1";
    request.title = "Tall tales";
    request.source = import::ImportRequest::Source::Text;
    request.textPath = text.string();
    request.voice = "en-gb";
    request.wordsPerMinute = 170;
    folder.Write("New Concept English Book 1/Lesson 007 Older/01 Hi.sau");

    const import::ImportResult result = import::ImportLesson(request, media.services());
    ASSERT_TRUE(result.ok()) << import::ImportErrorMessage(result);
    const fs::path lesson = folder.path() / "New Concept English Book 1" / "Lesson 008 Tall tales";
    EXPECT_EQ(result.lessonPath, lesson.string());
    EXPECT_EQ(library::FillLessonList(lesson.string()),
              (std::vector<std::string>{"01 Mr. Brown lives in the U.S. with his dog.", "02 He is 3.5 metres tall!",
                                        "03 'Is that true?' asked Dr. Lee (a friend, e.g. from school).",
                                        "04 Nobody knows."}));
    const notes::LessonNotes lessonNotes(lesson.string());
    EXPECT_EQ(lessonNotes.NoteLine(2), "(2)布朗先生住在美国。");
    EXPECT_EQ(lessonNotes.NoteLine(3), "(3)");

    std::int64_t previousEnd = 0;
    for (const import::ImportedSentence& sentence : result.sentences) {
        SCOPED_TRACE(sentence.title);
        EXPECT_EQ(sentence.startMs, previousEnd);
        previousEnd = sentence.endMs;
        const import::PcmAudio audio = DecodePiece(lesson / sentence.fileName, folder.path());
        const auto [soundStart, soundEnd] = SoundExtentMs(audio);
        EXPECT_GE(soundEnd - soundStart, 500);
        EXPECT_LE(soundStart, 230);
        EXPECT_NEAR(audio.DurationMs(), sentence.endMs - sentence.startMs, 110);
    }
}

// The command-line contract: the lesson path, then number, start, end and file name per sentence.
TEST(ImportLessons, CommandLinePrintsTheLessonAndItsSentences)
{
    TempFolder folder;
    const fs::path timed =
        folder.Write("cues.lrc", Encode(TimedTextOf(import::TimedTextFormat::Lrc, true), Encoding::Gb18030));
    fs::create_directories(folder.path() / "lib");
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunCli({"import", "--root", (folder.path() / "lib").string(), "--book", "Own book",
                                    "--title", "From the shell", "--audio", Mp3().string(), "--timed", timed.string()},
                                   in, out, err);
    ASSERT_EQ(status, 0) << err.str();
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, (folder.path() / "lib" / "Own book" / "Lesson 001 From the shell").string());
    for (std::size_t i = 0; i < kTitles.size(); ++i) {
        ASSERT_TRUE(std::getline(lines, line));
        int number = 0;
        long long start = 0;
        long long end = 0;
        char name[300] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "%d\t%lld\t%lld\t%299[^\n]", &number, &start, &end, name), 4) << line;
        EXPECT_EQ(number, static_cast<int>(i + 1));
        EXPECT_LT(start, end);
        EXPECT_EQ(std::string(name), library::TitleToFileName(kTitles[i]) + ".sau");
    }
    EXPECT_FALSE(std::getline(lines, line));
}

} // namespace
