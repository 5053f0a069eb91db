#pragma once

#include <string_view>
#include <vector>

#include "grammar/TopicTableMatcher.h"

namespace lectoria::analysis {

/// A rule-table topic that matches a sentence, with the words its rule matched.
using RuleTopic = grammar::TopicMatch;

/// The topics whose rules match `sentence` (as written; lower-cased here), in tree order, leaving
/// out the "所有" entries: they say only that some child matched, which the children already show.
std::vector<RuleTopic> RuleTopicsOf(const grammar::TopicTableMatcher& matcher, std::string_view sentence);

} // namespace lectoria::analysis
