#include "analysis/RuleTopics.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

namespace lectoria::analysis {

std::vector<RuleTopic> RuleTopicsOf(const grammar::TopicTableMatcher& matcher, std::string_view sentence)
{
    std::unordered_set<std::string_view> silent;
    for (std::size_t topic = 0; topic < matcher.Topics().size(); ++topic) {
        if (matcher.PassesEverySentence(topic)) {
            silent.insert(matcher.Topics()[topic]);
        }
    }
    std::vector<RuleTopic> found = grammar::AllTopicsOf(matcher, grammar::ToLowerAscii(sentence));
    found.erase(std::remove_if(found.begin(), found.end(),
                               [&silent](const RuleTopic& topic) {
                                   return topic.selection.find(grammar::kAllTopics) != std::string::npos ||
                                          silent.count(topic.selection) != 0;
                               }),
                found.end());
    return found;
}

} // namespace lectoria::analysis
