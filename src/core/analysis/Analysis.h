#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/Derivation.h"
#include "analysis/Parse.h"

namespace lectoria::analysis {

/// What the parser shows of one sentence; no findings and a message when it could not join it.
struct ParserAnalysis
{
    ParseStatus status = ParseStatus::Failed;
    std::string message;
    std::vector<Finding> findings;
};

ParserAnalysis AnalyseByParser(IParser& parser, std::string_view sentence);

/// Whether the parser's findings decide a topic selection ("时态+现在完成时", with or without a
/// third level); the other topics keep their word-list rules.
bool ParserCovers(std::string_view selection);

/// The first two levels of a selection: "时态+现在完成时+所有" gives "时态+现在完成时".
std::string TwoLevels(std::string_view selection);

/// Whether the findings show the topic of `selection` (a parent alone matches any of its children).
bool FindingsShow(const std::vector<Finding>& findings, std::string_view selection);

} // namespace lectoria::analysis
