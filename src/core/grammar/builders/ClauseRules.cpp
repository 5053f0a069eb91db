#include "grammar/CategoryBuilders.h"

#include <string>
#include <string_view>
#include <vector>

#include "grammar/WordListData.h"
#include "grammar/builders/BuilderHelpers.h"

namespace lectoria::grammar {

void BuildClauseRules(RuleTable& table, const VerbForms& /*verbs*/)
{
    std::vector<std::string>& rules = table.ChildRules[kParentClauses];
    // Questions are left out: there the same words ask instead of introducing a clause.
    rules[1] = "+ which / who / whom / whose / that / what +?++";
    // The excluded phrases hold a conjunction's word without introducing a clause.
    rules[2] =
        Concat({"+", lists::ClauseAdverbialConjunctions, "+?/ at the moment / because of / a while / while ago ++"});
    rules[3] = "+ that +++";
}

void BuildParticipleRules(RuleTable& table, const VerbForms& verbs)
{
    std::vector<std::string>& rules = table.ChildRules[kParentParticiples];
    rules[1] = Concat({"+++", verbs.IngForms, "/", verbs.RegularPastForms, "/", verbs.IrregularParticiples,
                       "/ dressed / guiding ", "+"});
    rules[2] = Concat({"+ with / without ++", verbs.IngForms, "+"});
}

void BuildMoodRules(RuleTable& table, const VerbForms& verbs)
{
    std::vector<std::string>& rules = table.ChildRules[kParentMood];
    rules[1] =
        Concat({"+ if +", lists::ClauseIfPastExclusions, "+", verbs.RegularPastForms, "/", verbs.IrregularPastForms,
                "/ was / were / wasn't / weren't / did / didn't / had / hadn't ", "+"});
    rules[2] = Concat({" if + had / hadn't ++", verbs.RegularPastForms, "/", verbs.IrregularParticiples, "+"});
    // The tail is joined to the irregular forms without a '/', so their last entry gains a second
    // trailing blank and never matches; kept so that searches find what they always found.
    rules[3] = Concat({"+ if +", lists::ClauseIfFutureExclusions, "+", verbs.RegularPastForms, "/",
                       verbs.IrregularPastForms, " / were / weren't / did / didn't ", "+"});
    rules[4] = "+ should / would / could / might +?++";
    // "have to" is a modal of its own, not the perfect after a modal.
    rules[5] = " have + should / would / could / might +?/ never / not / haven't ++ have to ";
    rules[6] = " have + should not / would not / could not / might not / shouldn't / wouldn't / couldn't +?++ have to ";
}

} // namespace lectoria::grammar
