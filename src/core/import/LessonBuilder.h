#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "import/CuePlan.h"
#include "import/MediaInterfaces.h"

namespace lectoria::import {

/// What to import and where to put it.
struct ImportRequest
{
    enum class Source
    {
        AudioWithTimedText, ///< audioPath + timedTextPath
        Text,               ///< textPath, or `text` when textPath is empty
    };

    std::string libraryRoot;
    std::string book;         ///< a book folder of the root; created when missing
    std::string title;        ///< the lesson title after its number
    std::string lessonNumber; ///< digits as written; empty: the book's next free number
    Source source = Source::AudioWithTimedText;
    std::string audioPath;
    std::string timedTextPath;
    std::string textPath;
    std::string text;
    std::string voice = "en-us";
    int wordsPerMinute = 150;
};

/// Why an import failed.
enum class ImportError
{
    None,
    BadRequest,       ///< no book or title, a book name that cannot be a folder, no library root
    SourceUnreadable, ///< a source file is missing, unreadable or in an unknown encoding
    NoSentences,      ///< the timed text has no cues or no usable sentence
    AudioUndecodable, ///< the audio is missing or no installed decoder reads it
    SpeechFailed,     ///< the voice is unknown or speaking failed
    EncodeFailed,     ///< MP3 encoding failed
    WriteFailed,      ///< the library cannot be written (no room, no permission)
    LessonExists,     ///< the lesson number asked for is taken
    Cancelled,
};

/// One sentence of the new lesson.
struct ImportedSentence
{
    int number = 0;
    std::int64_t startMs = 0; ///< in the source audio; for speech, in the spoken lesson as a whole
    std::int64_t endMs = 0;
    std::string title;    ///< "NN Sentence" as the sentence list shows it
    std::string fileName; ///< "NN Sentence.sau" ('?' stored as '^')
    std::string note;
};

/// The outcome of an import or of its preview.
struct ImportResult
{
    ImportError error = ImportError::None;
    std::string file;   ///< the file or folder the failure concerns
    std::string reason; ///< English detail
    std::string lessonPath;
    std::vector<ImportedSentence> sentences;
    std::vector<SkippedCue> skipped;

    bool ok() const { return error == ImportError::None; }
};

/// The media parts an import uses; only those its source needs must be set.
struct ImportServices
{
    IAudioDecoder* decoder = nullptr;
    IMp3Encoder* encoder = nullptr;
    ISpeechSynthesizer* speech = nullptr;
};

/// Told after each step: steps done and steps in all.
using ImportProgress = std::function<void(int done, int total)>;

/// Reads the timed text or the text and returns the sentences an import would make, with their
/// cue times (an LRC file's last cue has endMs -1 before the audio's length is known) and what is
/// skipped. Writes nothing and decodes no audio.
ImportResult PreviewImport(const ImportRequest& request);

/// Builds the lesson: decodes or speaks, cuts, trims, encodes and scrambles each sentence, writes
/// the note file, all in a temporary folder beside the new lesson, which is renamed into place
/// only when everything is written. On failure or cancel nothing is left in the library, and an
/// existing lesson is never replaced.
ImportResult ImportLesson(const ImportRequest& request, const ImportServices& services,
                          const ImportProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

/// "FILE: reason" in English for the command line.
std::string ImportErrorMessage(const ImportResult& result);

/// The failure in Chinese for the window, with the file and the system's detail.
std::string ImportErrorMessageZh(const ImportResult& result);

} // namespace lectoria::import
