#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "import/SentenceText.h"

namespace lectoria::import {

/// Splits running English text into sentences. A sentence ends at '.', '!' or '?' (with any
/// closing quotes and brackets after it) followed by a blank and a word that may start a
/// sentence; titles such as "Mr." and "Dr.", "e.g.", initials such as "U.S.", decimals such as
/// "3.5" and the inside of quotes and brackets never end one. A blank line always ends one.
std::vector<std::string> SplitSentences(std::string_view text);

/// True when a text is written one sentence per line: at least two English lines, and at least
/// half of them hold exactly one whole sentence.
bool IsOneSentencePerLine(const std::vector<std::string>& englishLines);

/// The sentences of a plain text file or pasted text: one per line when the text is written so,
/// else split as running text. A line holding Chinese is the note of the sentence before it.
std::vector<SentenceWithNote> SentencesOfText(std::string_view text);

} // namespace lectoria::import
