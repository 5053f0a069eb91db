#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lectoria::import {

/// One sentence to import with its grammar note, as read from a subtitle or text file.
struct SentenceWithNote
{
    std::string text; ///< English, UTF-8
    std::string note; ///< Chinese, UTF-8; empty when the source had none
};

/// True when the UTF-8 text holds a CJK ideograph or CJK punctuation.
bool HasCjk(std::string_view text);

/// True when the text holds at least one ASCII letter.
bool HasEnglishLetter(std::string_view text);

/// Trims the text, folds runs of blanks into one, and replaces typographic quotes, dashes and
/// ellipses by their ASCII forms so that the grammar topics see plain ASCII punctuation.
std::string CleanSentenceText(std::string_view text);

/// Splits the lines of one cue into the English sentence and the Chinese note: lines holding CJK
/// characters make the note, the others the sentence. A single line that starts in English and
/// goes on in Chinese is cut where the Chinese starts.
SentenceWithNote SplitBilingual(const std::vector<std::string>& lines);

/// The lines of a text without their line ends (LF, CR LF or CR).
std::vector<std::string> SplitLines(std::string_view text);

} // namespace lectoria::import
