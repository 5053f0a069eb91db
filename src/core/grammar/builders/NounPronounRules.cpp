#include "grammar/CategoryBuilders.h"

namespace lectoria::grammar {

void BuildNounRules(RuleTable& /*table*/) {}

void BuildArticleRules(RuleTable& /*table*/) {}

void BuildPronounRules(RuleTable& /*table*/) {}

void BuildNumeralRules(RuleTable& /*table*/) {}

} // namespace lectoria::grammar
