#include "grammar/CategoryBuilders.h"

namespace lectoria::grammar {

void BuildPassiveRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

} // namespace lectoria::grammar
