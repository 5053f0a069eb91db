#include "grammar/CategoryBuilders.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "grammar/builders/BuilderHelpers.h"

namespace lectoria::grammar {

namespace {

/// The five fields of one rule string, each a '/'-joined entry list.
struct RuleFields
{
    std::string allOf;
    std::string anyOf;
    std::string noneOf;
    std::string anyAfter;
    std::string erase;
};

constexpr std::size_t kTenseCount = 16;

} // namespace

void BuildTenseRules(RuleTable& table, const VerbForms& verbs)
{
    // The entries' blanks are deliberate: "will ", "ed ", "ing ", "was " and "happened to " carry no
    // leading blank and so also match inside longer words, " going to" has no trailing blank and also
    // excludes "going together", and "'ve " stands twice in the progressive exclusions.
    const std::string pastForms = verbs.IrregularPastForms + "/" + verbs.IrregularParticiples;
    const std::string presentForms = verbs.BaseVerbs + "/" + verbs.ThirdPersonVerbs;
    const std::string participle = "ed /" + verbs.IrregularParticiples;
    // Adds the participle of "have" itself, so that "has had" is a present perfect.
    const std::string participleOrHad = participle + "/ had ";
    const std::string edThenIngRemovals = verbs.EdRemovals + "/" + verbs.IngRemovals;
    // The perfect progressives erase the -ing look-alikes before the -ed ones.
    const std::string ingThenEdRemovals = verbs.IngRemovals + "/" + verbs.EdRemovals;
    const std::string haveToForms = " have to / has to / had to ";

    const std::string simpleFutureExclusions = "/ed /ing / be / been / being /happened to /" + pastForms;
    const std::string progressiveExclusions = " be / been / being / have /'ve / has / had /'ve / haven't / hasn't / "
                                              "hadn't / going to" +
                                              std::string("/ed / there /") + pastForms;
    const std::string perfectExclusions = " is / am / are /'s /'m /'re / be / been / being / have to / has to / had "
                                          "to / will / shall /'ll / would / should ";

    const std::array<RuleFields, kTenseCount> rules = {{
        // 1 过去一般时
        {"", "",
         " is / am / are /'s /'m /'re / will / shall /'ll / would / should " +
             std::string("/ be / been / being / has / have /'ve / had / haven't / hasn't / hadn't / happened to ") +
             "/ing / do / does / don't / doesn't / can / may / can't ",
         "ed /" + verbs.IrregularPastForms, edThenIngRemovals},
        // 2 现在一般时: "ed" without a trailing blank rules out any "ed" anywhere.
        {"", "",
         " was / were / have / has /'ve / had / haven't / hasn't / hadn't / did / didn't / will / shall /'ll / would / "
         "should / could / might " +
             std::string("/ed/ing / be / been / being /happened to /") + pastForms,
         presentForms, edThenIngRemovals},
        // 3 将来一般时
        {"", "will /shall /'ll ",
         "was /were / have / has /'ve / had / haven't / hasn't / hadn't / did / didn't / would / should / could / "
         "might " +
             simpleFutureExclusions,
         presentForms, edThenIngRemovals},
        // 4 过去将来一般时
        {"", "would /should ",
         "was / were / have / has /'ve / had / haven't / hasn't / hadn't / did / didn't / will / shall /'ll / could / "
         "might " +
             simpleFutureExclusions,
         presentForms, edThenIngRemovals},
        // 5 过去进行时
        {"ing ", " was / were / wasn't / weren't ", progressiveExclusions, "ing ", verbs.IngRemovals},
        // 6 现在进行时
        {"ing ", " is / are / am /'s /'m /'re ", progressiveExclusions, "ing ", verbs.IngRemovals},
        // 7 将来进行时
        {"ing ", "'ll be / will be / shall be ", "/ed ", "ing ", verbs.IngRemovals},
        // 8 过去将来进行时
        {"ing ", " would be / should be ", "", "ing ", verbs.IngRemovals},
        // 9 过去完成时
        {"", " had / hadn't ", perfectExclusions + "/ has / have /'ve /'s / haven't / hasn't /ing ", participle,
         edThenIngRemovals},
        // 10 现在完成时: "'s " is both an accepted auxiliary and an exclusion, so "he's gone" never passes.
        {"", " have / has /'ve / haven't / hasn't /'s ", perfectExclusions + "/ hadn't ", participleOrHad,
         edThenIngRemovals},
        // 11 将来完成时
        {"", " will have / shall have /'ll have / will not have / shall not have /'ll not have ", "", participleOrHad,
         haveToForms},
        // 12 过去将来完成时
        {"", " would have / should have / would not have / should not have / wouldn't have / shouldn't have ", "",
         participleOrHad, haveToForms},
        // 13 过去完成进行时
        {" been ", " had / hadn't ", participle, "ing ", ingThenEdRemovals},
        // 14 现在完成进行时
        {" been ", " have / has /'ve /'s / haven't / hasn't ", participle, "ing ", ingThenEdRemovals},
        // 15 将来完成进行时
        {" been ", " will have / shall have /'ll have / will not have / shall not have /'ll not have / won't have ",
         participle, "ing ", ingThenEdRemovals},
        // 16 过去将来完成进行时
        {" been ", " would have / should have / would not have / should not have ", participle, "ing ",
         ingThenEdRemovals},
    }};

    std::vector<std::string>& childRules = table.ChildRules[kParentTenses];
    const std::size_t children =
        std::min(static_cast<std::size_t>(ChildCount(table, kParentTenses)), childRules.size());
    for (std::size_t k = 1; k <= kTenseCount && k < children; ++k) {
        const RuleFields& fields = rules[k - 1];
        childRules[k] = ComposeRule(fields.allOf, fields.anyOf, fields.noneOf, fields.anyAfter, fields.erase);
    }
}

} // namespace lectoria::grammar
