#include "library/GrammarNotes.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QStringConverter>

#include "library/Library.h"

namespace lectoria::library {

namespace {

constexpr char16_t kStoredLineBreak = u'\u2029';

QString FromFileLine(const QByteArray& line)
{
    QStringDecoder decoder("GB18030");
    QString text = decoder.decode(line);
    text.replace(QChar(kStoredLineBreak), QLatin1Char('\n'));
    return text;
}

QByteArray ToFileLine(const std::string& note)
{
    QString text = QString::fromStdString(note);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QChar(kStoredLineBreak));
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

// The file's lines without their line ends; an unreadable file gives none.
std::vector<QByteArray> ReadLines(const std::string& noteFile)
{
    std::vector<QByteArray> lines;
    QFile file(QString::fromStdString(noteFile));
    if (!file.open(QIODevice::ReadOnly)) {
        return lines;
    }
    const QByteArray content = file.readAll();
    for (QByteArray line : content.split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        lines.push_back(line);
    }
    // A final line end does not start another line.
    if (!lines.empty() && lines.back().isEmpty() && content.endsWith('\n')) {
        lines.pop_back();
    }
    return lines;
}

std::string NoteOrPrefix(const std::vector<QByteArray>& lines, int k)
{
    const std::size_t index = static_cast<std::size_t>(k - 1);
    if (k < 1 || index >= lines.size() || lines[index].isEmpty()) {
        return NotePrefix(k);
    }
    return FromFileLine(lines[index]).toStdString();
}

// Notes of sentences whose audio files are gone (lines past the lesson's sentences) are the
// user's too: a rewrite keeps them instead of cutting the file short.
void KeepLinesBeyond(const std::vector<QByteArray>& existing, std::vector<std::string>& lines)
{
    for (std::size_t i = lines.size(); i < existing.size(); ++i) {
        lines.push_back(FromFileLine(existing[i]).toStdString());
    }
}

int SentenceFileCount(const std::string& lessonPath)
{
    return static_cast<int>(FillLessonList(lessonPath).size());
}

} // namespace

std::string NotePrefix(int k)
{
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "(%d)", k);
    return prefix;
}

std::vector<std::string> LoadLessonNotes(const std::string& noteFile, int n)
{
    const std::vector<QByteArray> lines = ReadLines(noteFile);
    std::vector<std::string> notes;
    notes.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int k = 1; k <= n; ++k) {
        notes.push_back(NoteOrPrefix(lines, k));
    }
    return notes;
}

int LessonNoteCount(const std::vector<std::string>& titles)
{
    int count = static_cast<int>(titles.size());
    for (const std::string& title : titles) {
        count = std::max(count, SentenceNumber(title));
    }
    return count;
}

std::vector<std::string> LoadOrCreateLessonNotes(const std::string& strFullPath, int n)
{
    const std::string file = NoteFileOf(strFullPath);
    std::vector<std::string> notes = LoadLessonNotes(file, n);
    if (!QFile::exists(QString::fromStdString(file))) {
        // A failure to create it leaves the notes in memory only; nothing to report.
        SaveNoteFile(file, notes);
    }
    return notes;
}

std::string LoadNote(const std::string& noteFile, int k)
{
    return NoteOrPrefix(ReadLines(noteFile), k);
}

bool SaveNoteFile(const std::string& noteFile, const std::vector<std::string>& lines)
{
    QSaveFile file(QString::fromStdString(noteFile));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    for (const std::string& line : lines) {
        file.write(ToFileLine(line));
        file.write("\r\n", 2);
    }
    return file.commit();
}

bool SaveLessonNotes(const std::string& strFullPath, const std::vector<std::string>& grammarNotes)
{
    const std::string file = NoteFileOf(strFullPath);
    std::vector<std::string> lines = grammarNotes;
    KeepLinesBeyond(ReadLines(file), lines);
    return SaveNoteFile(file, lines);
}

std::vector<std::string> SaveTopicNotes(const std::string& strFullPath, const std::vector<TopicNote>& items)
{
    std::vector<std::string> messages;
    const std::string root = LibraryRootOf(strFullPath);
    for (const TopicNote& item : items) {
        if (!item.dirty) {
            continue;
        }
        int n = SentenceNumber(item.itemText);
        const std::size_t cut = item.itemPath.rfind(kItemPathSeparator);
        const std::string lesson =
            root + NativeRelativePath(cut == std::string::npos ? item.itemPath : item.itemPath.substr(0, cut));
        const std::string file = NoteFileOf(lesson);
        const int c = SentenceFileCount(lesson);
        n = std::min(n, c);

        std::vector<std::string> lines;
        const std::vector<QByteArray> existing = ReadLines(file);
        const bool readable = QFile::exists(QString::fromStdString(file));
        for (int k = 1; k <= c; ++k) {
            if (readable) {
                const std::size_t index = static_cast<std::size_t>(k - 1);
                lines.push_back(index < existing.size() ? FromFileLine(existing[index]).toStdString() : std::string());
            } else {
                lines.push_back(NotePrefix(k));
            }
        }
        KeepLinesBeyond(existing, lines);
        if (n < 1) {
            char message[96];
            std::snprintf(message, sizeof message, "nNumofSen-1=%d,nNumofSau=%d", n - 1, c);
            messages.push_back(message + lesson);
            if (!readable) {
                // No number to place the note at: leave a missing file missing.
                continue;
            }
        } else {
            lines[static_cast<std::size_t>(n - 1)] = item.note;
        }
        SaveNoteFile(file, lines);
    }
    return messages;
}

} // namespace lectoria::library
