#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lectoria::reading {

/// The font height that lets `text` fill a pane of w × h pixels as far as it can.
int FitFontHeight(std::string_view text, int w, int h);

/// The text the current-sentence pane shows for a list item: the sentence text, with a blank
/// after a piece that ends in a lower-case letter.
std::string CurrentSentenceText(std::string_view itemText);

/// The "Fit" interval for a shown text: its length plus 8 per digit, over 13, at least 1 second.
int FitSeconds(std::string_view shownText);

/// The status line's short form of a book name (New..1, Pri..China, Songs).
std::string BookAbbrev(std::string_view book);

/// What the status line says about the list and reading.
struct StatusInput
{
    bool isSelectSubject = false;
    std::string strFullPath;
    std::string strSubjectWord;
    std::string strSubjectGrammar;
    std::string strSubjectBook;
    bool isReading = false;
    int chosenCount = 0;
    int repeatRound = 1;
    int nNowPlayNum = 1;
    /// Speed and shadowing, as ReadingLoop::PracticeText() says them; empty when neither is on.
    std::string practice;
};
std::string StatusLineText(const StatusInput& input);

/// The written sentence a piece belongs to: its pieces' texts in order, and which of them is the
/// current piece (-1 when the sentence is that piece alone).
struct WholeSentence
{
    std::vector<std::string> pieces; ///< each but the last followed by one blank
    int currentPiece = -1;
};
WholeSentence ComposeWholeSentence(const std::vector<std::string>& items, std::string_view itemText);

/// The topic-mode whole-sentence text: "Current Text:" and the book and lesson of the item.
std::string TopicLessonText(std::string_view itemPath);

/// A note as the grammar pane shows it: without its "(k)" prefix.
std::string NoteDisplayText(std::string_view note);

} // namespace lectoria::reading
