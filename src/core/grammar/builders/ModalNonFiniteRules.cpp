#include "grammar/CategoryBuilders.h"

namespace lectoria::grammar {

void BuildNonFiniteRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

void BuildModalRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

} // namespace lectoria::grammar
