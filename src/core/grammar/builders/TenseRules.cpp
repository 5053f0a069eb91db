#include "grammar/CategoryBuilders.h"

namespace lectoria::grammar {

void BuildTenseRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

} // namespace lectoria::grammar
