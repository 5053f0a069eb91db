#pragma once

#include <string>
#include <vector>

#include "analysis/Parse.h"

namespace lectoria::analysis {

/// One grammar point of a sentence: a topic of the tree ("时态+现在完成时") and the words that show it.
struct Finding
{
    std::string topic;
    std::string words;

    bool operator==(const Finding&) const = default;
};

/// The linkage the derivation reads: among the parser's best-cost readings, the one that takes
/// verb chains as verbs (a passive or progressive over an adjective or noun reading).
std::size_t ChooseLinkage(const std::vector<Linkage>& linkages);

/// The tenses, voice, clauses, modal verbs, non-finite forms and sentence types that the links
/// of a complete parse show, in sentence order per kind. `result` must be Complete.
std::vector<Finding> DeriveFindings(const ParseResult& result);

} // namespace lectoria::analysis
