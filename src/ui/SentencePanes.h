#pragma once

#include <string>

#include "reading/Panes.h"
#include "settings/Settings.h"

class QFont;
class QPlainTextEdit;
class QTextEdit;

namespace lectoria::ui {

/// Fills the three sentence panes: the current piece in type as large as its pane allows, the
/// written sentence around it, and the grammar note.
class SentencePanes
{
public:
    SentencePanes(QTextEdit* whole, QTextEdit* current, QPlainTextEdit* grammar);

    /// Shows `text` in the current-sentence pane in colour `textColor`, with the first occurrence
    /// of each entry of `highlights` (every digit for an entry starting with a digit) in
    /// `highlightColor`.
    void ShowCurrentSentence(const std::string& text, const std::string& highlights, settings::Rgb textColor,
                             settings::Rgb highlightColor);
    /// Shows the written sentence, the current piece in `currentColor`.
    void ShowWholeSentence(const reading::WholeSentence& whole, settings::Rgb textColor, settings::Rgb currentColor);
    /// Shows a plain text (the lesson of a topic-mode item) in the whole-sentence pane.
    void ShowWholeText(const std::string& text, settings::Rgb textColor);
    /// Shows a note without its number; the grammar pane's change signal fires as for typing.
    void ShowGrammarNote(const std::string& note);
    void Clear();

private:
    QTextEdit* m_whole;
    QTextEdit* m_current;
    QPlainTextEdit* m_grammar;
};

/// The pane font: "Times New Roman" (or the closest serif face), heavy, at a pixel height.
QFont PaneFont(int pixelHeight);

} // namespace lectoria::ui
