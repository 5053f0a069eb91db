#include "grammar/CategoryBuilders.h"

namespace lectoria::grammar {

void BuildAdjectiveRules(RuleTable& /*table*/) {}

void BuildAdverbRules(RuleTable& /*table*/) {}

void BuildPrepositionRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

void BuildConjunctionRules(RuleTable& /*table*/) {}

} // namespace lectoria::grammar
