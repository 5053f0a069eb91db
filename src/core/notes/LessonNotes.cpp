#include "notes/LessonNotes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>

#include "library/Library.h"

namespace lectoria::notes {

namespace {

// GBK text never holds U+2029, so a line break typed inside a note can be stored as one and every
// note stays on its own line.
constexpr char16_t kStoredLineBreak = u'\u2029';

std::string Quoted(const std::string& file)
{
    return "“" + file + "”";
}

std::string ReasonOf(int error, const QString& fallback)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "磁盘已满";
    case EFBIG:
        return "文件超出允许的大小";
    case EACCES:
    case EPERM:
        return "没有权限";
    case EROFS:
        return "文件系统是只读的";
    case ENOENT:
        return "文件夹不存在";
    case EISDIR:
        return "这是一个文件夹";
    case 0:
        return fallback.toStdString();
    default:
        return std::strerror(error);
    }
}

NoteStatus Failure(const char* what, const std::string& file, int error, const QString& fallback)
{
    return NoteStatus{false, std::string(what) + Quoted(file) + "：" + ReasonOf(error, fallback)};
}

// UTF-8 as the file's encoding: valid UTF-8 holding a character of three bytes or more (every
// Chinese character is). Short GBK text can pass for two-byte UTF-8 by chance, so a file whose
// only high characters are two-byte ones stays GB18030 when it reads as that.
bool LooksLikeUtf8(const QByteArray& content)
{
    bool wide = false;
    bool high = false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(content.constData());
    const qsizetype size = content.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        int length = 1;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
        } else if (lead >= 0x80) {
            return false;
        }
        if (i + length > size) {
            return false;
        }
        for (int j = 1; j < length; ++j) {
            if ((bytes[i + j] & 0xC0) != 0x80) {
                return false;
            }
        }
        if ((lead == 0xE0 && bytes[i + 1] < 0xA0) || (lead == 0xED && bytes[i + 1] >= 0xA0) ||
            (lead == 0xF0 && bytes[i + 1] < 0x90) || (lead == 0xF4 && bytes[i + 1] >= 0x90)) {
            return false;
        }
        high = high || length > 1;
        wide = wide || length > 2;
        i += length;
    }
    if (!high) {
        return false;
    }
    if (wide) {
        return true;
    }
    QStringDecoder gb18030("GB18030");
    (void)gb18030.decode(content);
    return gb18030.hasError();
}

int LeadingNumber(std::string_view title, bool& tooHigh)
{
    long long value = 0;
    tooHigh = false;
    for (char c : title) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > kMaxNoteLine) {
            tooHigh = true;
            return 0;
        }
    }
    return static_cast<int>(value);
}

} // namespace

NoteSlot SlotOfTitle(std::string_view title)
{
    if (title.empty() || title.front() < '0' || title.front() > '9') {
        return NoteSlot{NoteSlot::Kind::NoNumber, 0};
    }
    bool tooHigh = false;
    const int number = LeadingNumber(title, tooHigh);
    if (tooHigh) {
        return NoteSlot{NoteSlot::Kind::TooHigh, 0};
    }
    if (number < 1) {
        return NoteSlot{NoteSlot::Kind::NoNumber, 0};
    }
    return NoteSlot{NoteSlot::Kind::Line, number};
}

std::string NotKeptText(const NoteSlot& slot)
{
    switch (slot.kind) {
    case NoteSlot::Kind::NoNumber:
        return "此句的文件名不以序号开头，无法为它保存笔记。";
    case NoteSlot::Kind::TooHigh:
        return "此句的序号超过 " + std::to_string(kMaxNoteLine) + "，不为它保存笔记。";
    case NoteSlot::Kind::Line:
        break;
    }
    return std::string();
}

std::string NotePrefix(int k)
{
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "(%d)", k);
    return prefix;
}

LessonNotes::LessonNotes(std::string lessonPath)
    : m_lessonPath(std::move(lessonPath)), m_noteFile(library::NoteFileOf(m_lessonPath))
{
    QFile file(QString::fromStdString(m_noteFile));
    if (!file.exists()) {
        return;
    }
    errno = 0;
    if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly)) {
        m_state = State::Unreadable;
        m_loadError =
            Failure("无法读取笔记文件", m_noteFile, QFileInfo(file).isDir() ? EISDIR : errno, file.errorString())
                .message;
        return;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_state = State::Unreadable;
        m_loadError = Failure("无法读取笔记文件", m_noteFile, errno, file.errorString()).message;
        return;
    }
    m_state = State::Loaded;
    m_file = Split(content);
    if (!m_file.bom.isEmpty()) {
        m_encoding = NoteEncoding::Utf8WithBom;
    } else if (LooksLikeUtf8(content)) {
        m_encoding = NoteEncoding::Utf8;
    }
}

LessonNotes::FileLines LessonNotes::Split(const QByteArray& content)
{
    FileLines file;
    QByteArrayView rest(content);
    if (rest.startsWith("\xEF\xBB\xBF")) {
        file.bom = QByteArray("\xEF\xBB\xBF");
        rest = rest.sliced(3);
    }
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        if (end < 0) {
            file.lines.emplace_back(rest.toByteArray());
            file.terminators.emplace_back();
            break;
        }
        QByteArrayView line = rest.first(end);
        QByteArray terminator("\n");
        if (line.endsWith('\r')) {
            line.chop(1);
            terminator = "\r\n";
        }
        file.lines.emplace_back(line.toByteArray());
        file.terminators.push_back(terminator);
        rest = rest.sliced(end + 1);
    }
    return file;
}

QString LessonNotes::Decode(const QByteArray& line) const
{
    QString text = m_encoding == NoteEncoding::Gb18030 ? QStringDecoder("GB18030").decode(line)
                                                       : QStringDecoder(QStringDecoder::Utf8).decode(line);
    text.replace(QChar(kStoredLineBreak), QLatin1Char('\n'));
    return text;
}

QByteArray LessonNotes::Encode(int k, const QString& text) const
{
    QString line = QString::fromStdString(NotePrefix(k)) + text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    line.replace(QLatin1Char('\n'), QChar(kStoredLineBreak));
    if (m_encoding == NoteEncoding::Gb18030) {
        QStringEncoder encoder("GB18030");
        return encoder.encode(line);
    }
    return line.toUtf8();
}

std::string LessonNotes::NoteText(int k) const
{
    if (const auto edit = m_edits.find(k); edit != m_edits.end()) {
        return edit->second.toStdString();
    }
    return FileText(k);
}

std::string LessonNotes::FileText(int k) const
{
    const std::size_t index = static_cast<std::size_t>(k - 1);
    if (k < 1 || index >= m_file.lines.size()) {
        return std::string();
    }
    const QString line = Decode(m_file.lines[index]);
    // The "(k)" prefix is not parsed, only cut off for display.
    const qsizetype close = line.indexOf(QLatin1Char(')'));
    return (close < 0 ? line : line.mid(close + 1)).toStdString();
}

std::string LessonNotes::NoteLine(int k) const
{
    return NotePrefix(k) + NoteText(k);
}

NoteStatus LessonNotes::SetNoteText(int k, const std::string& text)
{
    if (m_state == State::Unreadable) {
        return NoteStatus{false, m_loadError};
    }
    if (k < 1 || k > kMaxNoteLine) {
        return NoteStatus{false, NotKeptText(NoteSlot{NoteSlot::Kind::TooHigh, 0})};
    }
    const QString typed = QString::fromStdString(text);
    if (FileText(k) == text) {
        // Typed back to what the file holds: nothing to write.
        m_edits.erase(k);
        return NoteStatus{};
    }
    QString expected = QString::fromStdString(NotePrefix(k)) + typed;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    expected.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (typed.contains(QChar(kStoredLineBreak)) || Decode(Encode(k, typed)) != expected) {
        return NoteStatus{false, "这条笔记含有笔记文件" + Quoted(m_noteFile) + "的编码无法保存的字符，未作改动。"};
    }
    m_edits[k] = typed;
    return NoteStatus{};
}

QByteArray LessonNotes::Compose(const FileLines& base) const
{
    FileLines out = base;
    for (const auto& [k, text] : m_edits) {
        const std::size_t index = static_cast<std::size_t>(k - 1);
        while (out.lines.size() <= index) {
            if (!out.terminators.empty() && out.terminators.back().isEmpty()) {
                out.terminators.back() = "\r\n";
            }
            out.lines.push_back(QByteArray::fromStdString(NotePrefix(static_cast<int>(out.lines.size()) + 1)));
            out.terminators.emplace_back("\r\n");
        }
        out.lines[index] = Encode(k, text);
        if (out.terminators[index].isEmpty() && index + 1 < out.lines.size()) {
            out.terminators[index] = "\r\n";
        }
    }
    QByteArray content = out.bom;
    for (std::size_t i = 0; i < out.lines.size(); ++i) {
        content += out.lines[i];
        content += out.terminators[i];
    }
    return content;
}

NoteStatus LessonNotes::Save()
{
    if (m_edits.empty()) {
        return NoteStatus{};
    }
    if (m_state == State::Unreadable) {
        return NoteStatus{false, m_loadError};
    }
    // Another writer (a second program, an editor) may have changed other lines since the load:
    // the edits go onto the file as it is now.
    FileLines base;
    QFile current(QString::fromStdString(m_noteFile));
    if (current.exists()) {
        errno = 0;
        if (!current.open(QIODevice::ReadOnly)) {
            return Failure("无法读取笔记文件", m_noteFile, errno, current.errorString());
        }
        const QByteArray content = current.readAll();
        if (current.error() != QFileDevice::NoError) {
            return Failure("无法读取笔记文件", m_noteFile, errno, current.errorString());
        }
        base = Split(content);
    }
    const QByteArray content = Compose(base);
    NoteStatus status = WriteFileAtomically(m_noteFile, content);
    if (status.ok) {
        m_file = Split(content);
        m_edits.clear();
        m_state = State::Loaded;
    }
    return status;
}

NoteStatus LessonNotes::SaveCopyTo(const std::string& file) const
{
    return WriteFileAtomically(file, Compose(m_file));
}

void LessonNotes::CreateIfMissing(int count)
{
    if (m_state != State::Missing || QFile::exists(QString::fromStdString(m_noteFile))) {
        return;
    }
    QByteArray content;
    for (int k = 1; k <= std::min(count, kMaxNoteLine); ++k) {
        content += QByteArray::fromStdString(NotePrefix(k)) + "\r\n";
    }
    if (WriteFileAtomically(m_noteFile, content).ok) {
        m_file = Split(content);
        m_state = State::Loaded;
    }
}

NoteStatus CreateNoteFile(const std::string& noteFile, const std::map<int, std::string>& notes)
{
    int last = 0;
    for (const auto& entry : notes) {
        if (entry.first < 1 || entry.first > kMaxNoteLine) {
            return NoteStatus{false, NotKeptText(NoteSlot{NoteSlot::Kind::TooHigh, 0})};
        }
        last = std::max(last, entry.first);
    }
    QByteArray content;
    QStringEncoder encoder("GB18030");
    for (int k = 1; k <= last; ++k) {
        QString line = QString::fromStdString(NotePrefix(k));
        if (const auto note = notes.find(k); note != notes.end()) {
            QString text = QString::fromStdString(note->second);
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            text.replace(QLatin1Char('\n'), QChar(kStoredLineBreak));
            line += text;
        }
        content += encoder.encode(line);
        content += "\r\n";
    }
    return WriteFileAtomically(noteFile, content);
}

NoteStatus WriteFileAtomically(const std::string& file, const QByteArray& content)
{
    QSaveFile out(QString::fromStdString(file));
    errno = 0;
    if (!out.open(QIODevice::WriteOnly)) {
        return Failure("无法写入笔记文件", file, errno, out.errorString());
    }
    // QSaveFile buffers: a full disk may only show at the flush, and commit() alone would still
    // replace the old file with a short one.
    errno = 0;
    if (out.write(content) != content.size() || !out.flush()) {
        const int error = errno;
        const QString why = out.errorString();
        out.cancelWriting();
        out.commit();
        return Failure("无法写入笔记文件", file, error, why);
    }
    errno = 0;
    if (!out.commit()) {
        return Failure("无法写入笔记文件", file, errno, out.errorString());
    }
    return NoteStatus{};
}

} // namespace lectoria::notes
