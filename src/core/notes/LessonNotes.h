#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QString>

namespace lectoria::notes {

/// Notes are kept for sentence numbers 1..kMaxNoteLine; a number past it (or a title without one)
/// is read aloud as usual but has no line, so no number written in a file name can size a file.
inline constexpr int kMaxNoteLine = 9999;

/// What a save or a load went through: ok, or a Chinese message naming the file and the reason.
struct NoteStatus
{
    bool ok = true;
    std::string message;
};

/// Where a sentence's note lives in its lesson's note file.
struct NoteSlot
{
    enum class Kind
    {
        Line,     ///< line `line` of the note file
        NoNumber, ///< the title does not start with a sentence number
        TooHigh,  ///< the sentence number is past kMaxNoteLine
    };
    Kind kind = Kind::NoNumber;
    int line = 0;

    bool kept() const { return kind == Kind::Line; }
};

/// The slot of a sentence title: its leading number, when there is one within the limit.
NoteSlot SlotOfTitle(std::string_view title);

/// Why the note of a slot that is not kept cannot be typed, as the grammar pane says it.
std::string NotKeptText(const NoteSlot& slot);

/// "(k)": the line of sentence k without a note.
std::string NotePrefix(int k);

/// The encodings a note file is kept in: GB18030 unless the file already is UTF-8.
enum class NoteEncoding
{
    Gb18030,
    Utf8,
    Utf8WithBom,
};

/// One lesson's note file: loads it, maps sentence numbers to lines, takes edits and writes back
/// only the edited lines in the file's own encoding; every other byte stays as it was.
class LessonNotes
{
public:
    enum class State
    {
        Missing,    ///< no note file yet
        Loaded,     ///< read whole
        Unreadable, ///< exists but cannot be read: never written over
    };

    /// Reads the note file of a lesson folder.
    explicit LessonNotes(std::string lessonPath);

    const std::string& lessonPath() const { return m_lessonPath; }
    const std::string& noteFile() const { return m_noteFile; }
    State state() const { return m_state; }
    /// Why the file could not be read (empty unless Unreadable).
    const std::string& loadError() const { return m_loadError; }
    NoteEncoding encoding() const { return m_encoding; }

    /// The note of sentence k without its "(k)" prefix, edits included; empty when there is none.
    std::string NoteText(int k) const;
    /// The note of sentence k in its line form, "(k)" + text.
    std::string NoteLine(int k) const;

    /// Stores the typed text of sentence k. Refused, with the reason, when the file cannot be read,
    /// k has no line, or the file's encoding cannot hold the text.
    NoteStatus SetNoteText(int k, const std::string& text);

    /// True while an edit has not been written.
    bool dirty() const { return !m_edits.empty(); }

    /// Writes the edited lines into the note file as it is on disk now (so another writer's lines
    /// survive), atomically; on failure the old file stays whole and the edits stay in memory.
    NoteStatus Save();
    /// Writes the lesson's notes, edits included, to another file (when the own one cannot be).
    NoteStatus SaveCopyTo(const std::string& file) const;

    /// Creates a note file of `count` "(k)" lines when the lesson has none; a failure is not an
    /// error, since nothing typed is at stake.
    void CreateIfMissing(int count);

private:
    struct FileLines
    {
        QByteArray bom;
        std::vector<QByteArray> lines;       ///< without their line ends
        std::vector<QByteArray> terminators; ///< each line's own end ("\r\n", "\n" or none)
    };
    std::string FileText(int k) const;
    static FileLines Split(const QByteArray& content);
    QByteArray Compose(const FileLines& base) const;
    QString Decode(const QByteArray& line) const;
    QByteArray Encode(int k, const QString& text) const;

    std::string m_lessonPath;
    std::string m_noteFile;
    State m_state = State::Missing;
    std::string m_loadError;
    NoteEncoding m_encoding = NoteEncoding::Gb18030;
    FileLines m_file;
    std::map<int, QString> m_edits; ///< sentence number -> typed text without prefix
};

/// Writes a new note file from notes by sentence number ("(k)" + note on line k, "(k)" where a
/// number has none), GB18030 with CR LF, atomically. For importers building a lesson.
NoteStatus CreateNoteFile(const std::string& noteFile, const std::map<int, std::string>& notes);

/// Writes bytes to a file atomically and checked: every write, the flush and the commit; on any
/// failure the old file stays whole. The message names the file and the reason in Chinese.
NoteStatus WriteFileAtomically(const std::string& file, const QByteArray& content);

} // namespace lectoria::notes
