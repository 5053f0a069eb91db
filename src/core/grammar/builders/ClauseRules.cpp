#include "grammar/CategoryBuilders.h"

namespace lectoria::grammar {

void BuildClauseRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

void BuildParticipleRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

void BuildMoodRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

} // namespace lectoria::grammar
