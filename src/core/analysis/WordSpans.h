#pragma once

#include <string_view>
#include <vector>

#include "search/Highlights.h"

namespace lectoria::analysis {

/// A run of bytes of a sentence, as the panes colour them.
using WordSpan = search::TextSpan;

/// Where the words of a parser finding ("have finished", "'ll see") stand in the sentence: each
/// blank-separated word, ignoring case, as a whole word; a word that starts with an apostrophe
/// may follow a letter ("'ll" in "I'll"). Every occurrence, in sentence order.
std::vector<WordSpan> FindingSpans(std::string_view sentence, std::string_view words);

/// Where a rule's matched words stand: '/'-separated pieces (" see /", " have been "), a blank at
/// a piece's start or end asking for a word edge there. Every occurrence, in sentence order.
std::vector<WordSpan> MatchedWordSpans(std::string_view sentence, std::string_view matchedWords);

} // namespace lectoria::analysis
