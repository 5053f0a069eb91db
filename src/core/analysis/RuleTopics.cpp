#include "analysis/RuleTopics.h"

#include <algorithm>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

namespace lectoria::analysis {

std::vector<RuleTopic> RuleTopicsOf(const grammar::TopicTableMatcher& matcher, std::string_view sentence)
{
    std::vector<RuleTopic> found = grammar::AllTopicsOf(matcher, grammar::ToLowerAscii(sentence));
    found.erase(std::remove_if(found.begin(), found.end(),
                               [&matcher](const RuleTopic& topic) {
                                   return topic.selection.find(grammar::kAllTopics) != std::string::npos ||
                                          matcher.PassesEverySentence(topic.topic);
                               }),
                found.end());
    return found;
}

} // namespace lectoria::analysis
