#pragma once

#include <string_view>
#include <vector>

#include "grammar/TopicTableMatcher.h"

namespace lectoria::analysis {

/// A rule-table topic that matches a sentence, with the words its rule matched.
using RuleTopic = grammar::TopicMatch;

/// The topics whose rules match `sentence` (as written; lower-cased here), in tree order, leaving
/// out what says nothing about it: the "所有" entries (some child matched, which the children
/// already show) and topics whose rule holds no word, such as "句型+主谓", which pass every sentence.
std::vector<RuleTopic> RuleTopicsOf(const grammar::TopicTableMatcher& matcher, std::string_view sentence);

} // namespace lectoria::analysis
