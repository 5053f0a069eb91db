#include "SentencePanes.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "grammar/TextRules.h"
#include "search/Highlights.h"

namespace lectoria::ui {

namespace {

QColor ToQColor(settings::Rgb color)
{
    return QColor(color.red, color.green, color.blue);
}

int FittedHeight(QTextEdit* pane, const QString& text)
{
    // The sizes are those of the text area, inside the frame and the document margins.
    const int margin = static_cast<int>(pane->document()->documentMargin() * 2);
    const int width = std::max(pane->viewport()->width() - margin, 1);
    const int height = std::max(pane->viewport()->height() - margin, 1);
    return std::max(reading::FitFontHeight(text.toStdString(), width, height), 1);
}

void SetText(QTextEdit* pane, const QString& text, int fontHeight, settings::Rgb color)
{
    pane->setFont(PaneFont(fontHeight));
    pane->document()->setDefaultFont(PaneFont(fontHeight));
    pane->setPlainText(text);
    QTextCursor cursor(pane->document());
    cursor.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setForeground(ToQColor(color));
    cursor.mergeCharFormat(format);
}

void Colour(QTextEdit* pane, int start, int length, settings::Rgb color)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(ToQColor(color));
    cursor.mergeCharFormat(format);
}

void CaretToStart(QTextEdit* pane)
{
    QTextCursor cursor(pane->document());
    cursor.setPosition(0);
    pane->setTextCursor(cursor);
}

} // namespace

QFont PaneFont(int pixelHeight)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setWeight(QFont::Black);
    // The height is the height of a line of type, as the fitting arithmetic assumes; Qt's pixel
    // size is the smaller em size, so scale it down by the face's line-to-em ratio.
    const int height = std::max(pixelHeight, 1);
    font.setPixelSize(100);
    const int line = QFontMetrics(font).height();
    font.setPixelSize(std::max(line > 0 ? height * 100 / line : height, 1));
    return font;
}

SentencePanes::SentencePanes(QTextEdit* whole, QTextEdit* current, QPlainTextEdit* grammar)
    : m_whole(whole), m_current(current), m_grammar(grammar)
{}

void SentencePanes::ShowCurrentSentence(const std::string& text, const std::string& highlights, settings::Rgb textColor,
                                        settings::Rgb highlightColor)
{
    const QString shown = QString::fromStdString(text);
    SetText(m_current, shown, FittedHeight(m_current, shown), textColor);
    for (const search::TextSpan& span : search::HighlightSpans(text, highlights)) {
        // The spans count bytes; the pane counts UTF-16 units.
        const auto units = [&text](std::size_t bytes) {
            return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(bytes)).size());
        };
        const int start = units(span.start);
        Colour(m_current, start, units(span.start + span.length) - start, highlightColor);
    }
    CaretToStart(m_current);
}

void SentencePanes::ShowWholeSentence(const reading::WholeSentence& whole, settings::Rgb textColor,
                                      settings::Rgb currentColor)
{
    QString text;
    int currentStart = 0;
    int currentLength = 0;
    for (std::size_t i = 0; i < whole.pieces.size(); ++i) {
        const QString piece = QString::fromStdString(whole.pieces[i]);
        if (static_cast<int>(i) == whole.currentPiece) {
            currentStart = static_cast<int>(text.size());
            currentLength = static_cast<int>(piece.size());
        }
        text += piece;
    }
    SetText(m_whole, text, FittedHeight(m_whole, text), textColor);
    if (whole.currentPiece >= 0) {
        Colour(m_whole, currentStart, currentLength, currentColor);
    }
    CaretToStart(m_whole);
}

void SentencePanes::ShowWholeText(const std::string& text, settings::Rgb textColor)
{
    const QString shown = QString::fromStdString(text);
    SetText(m_whole, shown, FittedHeight(m_whole, shown), textColor);
    CaretToStart(m_whole);
}

void SentencePanes::ShowGrammarNote(const std::string& note)
{
    const std::string rest = reading::NoteDisplayText(note);
    if (rest.empty()) {
        m_grammar->clear();
        return;
    }
    m_grammar->setFont(PaneFont(18));
    m_grammar->setPlainText(QString::fromStdString(rest));
}

void SentencePanes::Clear()
{
    m_whole->clear();
    m_current->clear();
    m_grammar->clear();
}

} // namespace lectoria::ui
