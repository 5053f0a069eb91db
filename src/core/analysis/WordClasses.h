#pragma once

#include <string>
#include <string_view>

namespace lectoria::analysis {

// Closed word classes of English verb phrases and clauses, on lower-case words as the parser splits
// them ("'ll", "doesn't").

std::string ToLower(std::string_view word);

bool IsModal(std::string_view word);       ///< can, must, will, 'll, won't ...
bool IsFutureModal(std::string_view word); ///< will, shall, 'll, won't, shan't
bool IsWould(std::string_view word);       ///< would, 'd, wouldn't
bool IsDoForm(std::string_view word);
bool IsHaveForm(std::string_view word);
bool IsBeForm(std::string_view word);
bool IsGetForm(std::string_view word);
bool IsAuxiliary(std::string_view word); ///< a modal or a form of do, have or be
bool IsPastForm(std::string_view word);  ///< was, were, had, did and their negatives
/// Regular -ed forms, and the irregular participles of the built-in verb lists.
bool IsParticipleForm(std::string_view word);
/// Participles used as adjectives of feeling or state ("interested", "tired"), from the built-in list.
bool IsEdAdjective(std::string_view word);
/// Adverbs that stand inside a verb phrase ("has never been", "did not go").
bool IsMidAdverb(std::string_view word);
bool IsAdverb(std::string_view word);
/// Conjunctions that open an adverbial clause.
bool IsSubordinator(std::string_view word);
/// Verbs that with "to" act as one modal: have to, ought to, used to, need to.
bool IsToModal(std::string_view word);

} // namespace lectoria::analysis
