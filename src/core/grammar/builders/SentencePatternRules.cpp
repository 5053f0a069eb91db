#include "grammar/CategoryBuilders.h"

namespace lectoria::grammar {

void BuildSentencePatternRules(RuleTable& /*table*/, const VerbForms& /*verbs*/) {}

} // namespace lectoria::grammar
