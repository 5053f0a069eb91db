#include "analysis/Analysis.h"

#include <algorithm>
#include <array>

#include "grammar/RuleTable.h"

namespace lectoria::analysis {

namespace {

constexpr std::array<std::string_view, 11> kCoveredChildren = {
    "从句+定语从句",         "从句+状语从句",         "从句+名词从句",
    "情态动词+一般情态动词", "情态动词+带to情态动词", "情态动词+情态动词加完成时态",
    "非谓动词+不定式",       "非谓动词+动名词",       "句型+一般疑问句",
    "句型+特殊疑问句",       "句型+祈使句",
};

} // namespace

ParserAnalysis AnalyseByParser(IParser& parser, std::string_view sentence)
{
    ParserAnalysis analysis;
    const ParseResult result = parser.Parse(sentence);
    analysis.status = result.status;
    analysis.message = result.message;
    if (result.status == ParseStatus::Complete) {
        analysis.findings = DeriveFindings(result);
    }
    return analysis;
}

std::string TwoLevels(std::string_view selection)
{
    const std::size_t first = selection.find('+');
    if (first == std::string_view::npos) {
        return std::string(selection);
    }
    const std::size_t second = selection.find('+', first + 1);
    std::string two(selection.substr(0, second));
    if (two.size() > first + 1 && two.substr(first + 1) == grammar::kAllTopics) {
        two.resize(first);
    }
    return two;
}

bool ParserCovers(std::string_view selection)
{
    const std::string two = TwoLevels(selection);
    const std::size_t plus = two.find('+');
    if (plus == std::string::npos) {
        return false;
    }
    const std::string_view parent = std::string_view(two).substr(0, plus);
    if (parent == "时态") {
        return true;
    }
    if (parent == "语态") {
        return two != "语态+形式上的被动语态";
    }
    return std::find(kCoveredChildren.begin(), kCoveredChildren.end(), two) != kCoveredChildren.end() ||
           two == "句型+There be";
}

bool FindingsShow(const std::vector<Finding>& findings, std::string_view selection)
{
    const std::string two = TwoLevels(selection);
    const bool parentOnly = two.find('+') == std::string::npos;
    return std::any_of(findings.begin(), findings.end(), [&](const Finding& finding) {
        return parentOnly ? finding.topic.rfind(two + "+", 0) == 0 : finding.topic == two;
    });
}

} // namespace lectoria::analysis
