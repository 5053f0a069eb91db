#include "grammar/CategoryBuilders.h"

namespace lectoria::grammar {

void BuildPredicateVerbRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

} // namespace lectoria::grammar
