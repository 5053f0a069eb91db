#include "import/LessonBuilder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "import/SentenceFileNames.h"
#include "import/SentenceSplit.h"
#include "import/SilenceTrim.h"
#include "import/StagedLesson.h"
#include "import/TextEncoding.h"
#include "import/TimedText.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"
#include "notes/LessonNotes.h"

namespace fs = std::filesystem;

namespace lectoria::import {

namespace {

ImportResult Failure(ImportError error, std::string file, std::string reason)
{
    ImportResult result;
    result.error = error;
    result.file = std::move(file);
    result.reason = std::move(reason);
    return result;
}

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel != nullptr && cancel->load();
}

// The sentences the source holds, before any audio is made; `durationMs` < 0 when unknown.
ImportResult ReadSentences(const ImportRequest& request, std::int64_t durationMs, std::vector<PlannedSentence>& planned)
{
    ImportResult result;
    if (request.source == ImportRequest::Source::AudioWithTimedText) {
        const DecodedText decoded = ReadTextFile(request.timedTextPath);
        if (!decoded.ok) {
            return Failure(ImportError::SourceUnreadable, request.timedTextPath, decoded.reason);
        }
        const TimedText timed = ParseTimedText(decoded.text, request.timedTextPath);
        if (timed.cues.empty()) {
            return Failure(ImportError::NoSentences, request.timedTextPath,
                           request.timedTextPath + ": no timed cues found (expected LRC, SRT or WebVTT)");
        }
        CuePlan plan = PlanCues(timed, durationMs);
        planned = std::move(plan.sentences);
        result.skipped = std::move(plan.skipped);
        if (planned.empty()) {
            return Failure(ImportError::NoSentences, request.timedTextPath,
                           request.timedTextPath + ": no cue holds an English sentence within the audio");
        }
    } else {
        std::string text = request.text;
        const std::string name = request.textPath.empty() ? std::string("pasted text") : request.textPath;
        if (!request.textPath.empty()) {
            const DecodedText decoded = ReadTextFile(request.textPath);
            if (!decoded.ok) {
                return Failure(ImportError::SourceUnreadable, request.textPath, decoded.reason);
            }
            text = decoded.text;
        }
        for (SentenceWithNote& sentence : SentencesOfText(text)) {
            if (!HasEnglishLetter(sentence.text)) {
                result.skipped.push_back(SkippedCue{0, sentence.text, SkipReason::NotEnglish});
                continue;
            }
            planned.push_back(PlannedSentence{-1, -1, std::move(sentence.text), std::move(sentence.note)});
        }
        if (planned.empty()) {
            return Failure(ImportError::NoSentences, name, name + ": no English sentence found");
        }
    }
    std::vector<std::string> texts;
    for (const PlannedSentence& sentence : planned) {
        texts.push_back(sentence.text);
    }
    const std::vector<std::string> titles = SentenceTitles(texts);
    for (std::size_t i = 0; i < planned.size(); ++i) {
        result.sentences.push_back(ImportedSentence{static_cast<int>(i + 1), planned[i].startMs, planned[i].endMs,
                                                    titles[i], SentenceFileName(titles[i]), planned[i].note});
    }
    return result;
}

ImportResult CheckRequest(const ImportRequest& request)
{
    std::error_code error;
    if (request.libraryRoot.empty() || !fs::is_directory(fs::path(request.libraryRoot), error)) {
        return Failure(ImportError::BadRequest, request.libraryRoot,
                       request.libraryRoot + ": the library folder does not exist");
    }
    if (request.book.empty() || SafeNamePart(request.book, true) != request.book) {
        return Failure(ImportError::BadRequest, request.book,
                       "'" + request.book + "' cannot be a book folder name (empty, or holds . / \\ : * ? \" < > |)");
    }
    if (SafeNamePart(request.title, true).empty()) {
        return Failure(ImportError::BadRequest, request.title, "the lesson needs a title");
    }
    if (!request.lessonNumber.empty() && (request.lessonNumber.find_first_not_of("0123456789") != std::string::npos ||
                                          request.lessonNumber.size() > 6)) {
        return Failure(ImportError::BadRequest, request.lessonNumber, "a lesson number is written in digits");
    }
    return ImportResult{};
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && (folder.back() == library::kPathSeparator || folder.back() == '/')) {
        return folder + name;
    }
    return folder + library::kPathSeparator + name;
}

std::string NoteFileName(const std::string& book, const std::string& number)
{
    return book + " Lesson" + number + ".txt";
}

// True when the book already has a lesson numbered `number` (compared as written).
bool NumberTaken(const std::string& bookDir, const std::string& number)
{
    for (const std::string& lesson : library::LessonFolders(bookDir)) {
        if (library::LessonNumberOf(lesson) == number || lesson == "Lesson " + number) {
            return true;
        }
    }
    return false;
}

} // namespace

ImportResult PreviewImport(const ImportRequest& request)
{
    std::vector<PlannedSentence> planned;
    return ReadSentences(request, -1, planned);
}

ImportResult ImportLesson(const ImportRequest& request, const ImportServices& services, const ImportProgress& progress,
                          const std::atomic<bool>* cancel)
{
    if (ImportResult checked = CheckRequest(request); !checked.ok()) {
        return checked;
    }
    const bool fromAudio = request.source == ImportRequest::Source::AudioWithTimedText;
    const std::string bookDir = JoinPath(request.libraryRoot, request.book);
    if (!request.lessonNumber.empty() && NumberTaken(bookDir, request.lessonNumber)) {
        return Failure(ImportError::LessonExists, JoinPath(bookDir, "Lesson " + request.lessonNumber),
                       "the book already has a lesson " + request.lessonNumber);
    }

    std::vector<PlannedSentence> planned;
    ImportResult result = ReadSentences(request, -1, planned);
    if (!result.ok()) {
        return result;
    }
    const int total = static_cast<int>(result.sentences.size()) + (fromAudio ? 1 : 0);
    const auto report = [&progress, total](int done) {
        if (progress) {
            progress(done, total);
        }
    };

    PcmAudio source;
    if (fromAudio) {
        std::error_code error;
        if (!fs::is_regular_file(fs::path(request.audioPath), error)) {
            return Failure(ImportError::AudioUndecodable, request.audioPath,
                           request.audioPath + ": no such audio file");
        }
        const MediaStatus decoded = services.decoder->Decode(request.audioPath, source, cancel);
        if (Cancelled(cancel)) {
            return Failure(ImportError::Cancelled, request.audioPath, "cancelled");
        }
        if (!decoded.ok() || source.samples.empty()) {
            return Failure(ImportError::AudioUndecodable, request.audioPath,
                           request.audioPath + ": " + (decoded.ok() ? "holds no audio" : decoded.error));
        }
        planned.clear();
        result = ReadSentences(request, source.DurationMs(), planned);
        if (!result.ok()) {
            return result;
        }
        report(1);
    } else {
        const MediaStatus voice = services.speech->SelectVoice(request.voice, request.wordsPerMinute);
        if (!voice.ok()) {
            return Failure(ImportError::SpeechFailed, request.voice, voice.error);
        }
    }

    StagedLesson staged;
    std::string failedPath;
    std::string reason;
    if (!staged.Begin(bookDir, failedPath, reason)) {
        return Failure(ImportError::WriteFailed, failedPath, failedPath + ": " + reason);
    }
    std::string number =
        request.lessonNumber.empty() ? NextLessonNumber(library::LessonFolders(bookDir)) : request.lessonNumber;
    std::string lessonName = LessonFolderName(number, request.title);

    std::int64_t spokenMs = 0;
    std::map<int, std::string> notesByNumber;
    for (std::size_t i = 0; i < planned.size(); ++i) {
        if (Cancelled(cancel)) {
            return Failure(ImportError::Cancelled, request.title, "cancelled");
        }
        ImportedSentence& sentence = result.sentences[i];
        PcmAudio spoken;
        const PcmAudio* audio = &source;
        std::size_t first = 0;
        std::size_t end = 0;
        if (fromAudio) {
            first = source.IndexOf(planned[i].startMs);
            end = std::max(first, source.IndexOf(planned[i].endMs));
        } else {
            const MediaStatus spokenStatus = services.speech->Speak(planned[i].text, spoken);
            if (!spokenStatus.ok() || spoken.samples.empty()) {
                return Failure(ImportError::SpeechFailed, sentence.title,
                               "cannot speak '" + planned[i].text +
                                   "': " + (spokenStatus.ok() ? "no sound came out" : spokenStatus.error));
            }
            audio = &spoken;
            end = spoken.samples.size();
        }
        const SampleRange kept = TrimSilence(audio->samples.data() + first, end - first, audio->sampleRate);
        if (fromAudio) {
            sentence.startMs = audio->MsOf(first + kept.first);
            sentence.endMs = audio->MsOf(first + kept.end);
        } else {
            sentence.startMs = spokenMs;
            sentence.endMs = spokenMs + audio->MsOf(kept.end - kept.first);
            spokenMs = sentence.endMs;
        }
        std::string mp3;
        const MediaStatus encoded = services.encoder->Encode(audio->samples.data() + first + kept.first,
                                                             kept.end - kept.first, audio->sampleRate, mp3);
        const std::string target = JoinPath(JoinPath(bookDir, lessonName), sentence.fileName);
        if (!encoded.ok()) {
            return Failure(ImportError::EncodeFailed, target, target + ": " + encoded.error);
        }
        const library::AudioResult written =
            library::WriteScrambledFile(mp3, JoinPath(staged.path(), sentence.fileName));
        if (!written.ok()) {
            const std::size_t colon = written.detail.rfind(": ");
            return Failure(ImportError::WriteFailed, target,
                           target + ": " +
                               (colon == std::string::npos ? written.detail : written.detail.substr(colon + 2)));
        }
        if (!sentence.note.empty()) {
            notesByNumber[sentence.number] = sentence.note;
        }
        report(static_cast<int>(i) + 1 + (fromAudio ? 1 : 0));
    }

    // Every sentence gets its line, so the file has as many lines as the lesson has sentences.
    for (const ImportedSentence& sentence : result.sentences) {
        notesByNumber.emplace(sentence.number, std::string());
    }
    if (!notes::CreateNoteFile(JoinPath(staged.path(), NoteFileName(request.book, number)), notesByNumber).ok) {
        const std::string target = JoinPath(JoinPath(bookDir, lessonName), NoteFileName(request.book, number));
        return Failure(ImportError::WriteFailed, target, target + ": the note file cannot be written");
    }
    if (Cancelled(cancel)) {
        return Failure(ImportError::Cancelled, request.title, "cancelled");
    }
    // Another import may have taken the number meanwhile: take the next free one then.
    for (int attempt = 0;; ++attempt) {
        const StagedLesson::Commit committed = staged.CommitAs(lessonName, reason);
        if (committed == StagedLesson::Commit::Done) {
            break;
        }
        const std::string target = JoinPath(bookDir, lessonName);
        if (committed == StagedLesson::Commit::Failed) {
            return Failure(ImportError::WriteFailed, target, target + ": " + reason);
        }
        if (!request.lessonNumber.empty() || attempt > 20) {
            return Failure(ImportError::LessonExists, target, target + ": a lesson of that name exists");
        }
        const std::string next = NextLessonNumber(library::LessonFolders(bookDir));
        std::error_code error;
        fs::rename(fs::path(JoinPath(staged.path(), NoteFileName(request.book, number))),
                   fs::path(JoinPath(staged.path(), NoteFileName(request.book, next))), error);
        if (error) {
            return Failure(ImportError::WriteFailed, target, target + ": " + error.message());
        }
        number = next;
        lessonName = LessonFolderName(number, request.title);
    }
    result.lessonPath = JoinPath(bookDir, lessonName);
    return result;
}

std::string ImportErrorMessage(const ImportResult& result)
{
    if (result.error == ImportError::Cancelled) {
        return "import cancelled; nothing was written";
    }
    if (!result.file.empty() && result.reason.rfind(result.file, 0) != 0) {
        return result.file + ": " + result.reason;
    }
    return result.reason;
}

std::string ImportErrorMessageZh(const ImportResult& result)
{
    const char* what = "";
    switch (result.error) {
    case ImportError::None:
        return std::string();
    case ImportError::BadRequest:
        what = "导入设置不完整或书名不能作为文件夹名。";
        break;
    case ImportError::SourceUnreadable:
        what = "无法读取文件，或文件编码不是 UTF-8、带 BOM 的 UTF-16、GB18030/GBK。";
        break;
    case ImportError::NoSentences:
        what = "文件中没有可用的英文句子或时间标签。";
        break;
    case ImportError::AudioUndecodable:
        what = "音频文件不存在或无法解码。";
        break;
    case ImportError::SpeechFailed:
        what = "语音合成失败（请检查语音名称）。";
        break;
    case ImportError::EncodeFailed:
        what = "MP3 编码失败。";
        break;
    case ImportError::WriteFailed:
        what = "无法写入课文库（磁盘已满或没有写入权限）。";
        break;
    case ImportError::LessonExists:
        what = "该课文已存在，不会覆盖。";
        break;
    case ImportError::Cancelled:
        return "导入已取消，课文库没有任何改动。";
    }
    return std::string(what) + "\n" + ImportErrorMessage(result) + "\n课文库没有任何改动。";
}

} // namespace lectoria::import
