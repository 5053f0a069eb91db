#include "grammar/CategoryBuilders.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "grammar/builders/BuilderHelpers.h"

namespace lectoria::grammar {

namespace {

/// The three fields in which the passive rules of the sixteen tenses differ.
struct AuxiliaryFields
{
    std::string allOf;
    std::string anyOf;
    std::string noneOf;
};

constexpr std::size_t kTensePassiveCount = 16;
constexpr std::size_t kFormalPassive = 17;

// The adjectives without their trailing blank, so that each matches the start of a word.
std::string EdAdjectiveStems(const std::string& edAdjectives)
{
    std::vector<std::string> stems = SplitList(edAdjectives, '/');
    for (std::string& stem : stems) {
        if (!stem.empty()) {
            stem.pop_back();
        }
    }
    return JoinList(stems, '/');
}

} // namespace

void BuildPassiveRules(RuleTable& table, const VerbForms& verbs)
{
    const std::string participle = "ed /" + verbs.IrregularParticiples;
    const std::string lookAlikes = verbs.EdRemovals + "/" + verbs.IngRemovals;
    // A word in -ing, "there", "when", "while", "that" or a comma points to a second verb group or
    // clause, whose -ed word need not belong to the "be" in front of it.
    const std::string secondClauseMarkers = "/ing / there / when / while / that /, ";

    // The odd entries stay as they are: "was " in 2 has no leading blank, 5 lists " wheren't ",
    // and 8 accepts "'ll " beside "would" and "should".
    const std::array<AuxiliaryFields, kTensePassiveCount> rules = {{
        // 1 过去一般时被动语态
        {"", " was / were / wasn't / weren't ",
         " is / am / are /'s /'m /'re / be / being / been / have / has / had / will / shall /'ll / would / should " +
             secondClauseMarkers},
        // 2 现在一般时被动语态
        {"", " is / are / am /'re /'s /'m / isn't / aren't ",
         "was / were / be / being / been / have / has / had / will / shall /'ll / would / should " +
             secondClauseMarkers},
        // 3 将来一般时被动语态
        {" be ", " will / shall /'ll ", "ing "},
        // 4 过去将来一般时被动语态
        {" be ", " would / should / wouldn't / shouldn't ", "ing "},
        // 5 过去进行时被动语态
        {" being ", " was / were / wasn't / wheren't ", ""},
        // 6 现在进行时被动语态
        {" being ", " is / am / are /'s /'re /'m ", ""},
        // 7 将来进行时被动语态
        {" be / being ", " will / shall /'ll ", ""},
        // 8 过去将来进行时被动语态
        {" be / being ", " would / should /'ll ", ""},
        // 9 过去完成时被动语态
        {" been ", " had ", ""},
        // 10 现在完成时被动语态
        {" been ", " has / have /'s ", ""},
        // 11 将来完成时被动语态
        {" have been ", " will / shall /'ll ", ""},
        // 12 过去将来完成时被动语态
        {" have been ", " would / should ", ""},
        // 13-16: the perfect progressive passives share one rule that ignores the form of "have".
        {" being ", " been ", ""},
        {" being ", " been ", ""},
        {" being ", " been ", ""},
        {" being ", " been ", ""},
    }};

    std::vector<std::string>& childRules = table.ChildRules[kParentVoice];
    const std::size_t children = std::min(static_cast<std::size_t>(ChildCount(table, kParentVoice)), childRules.size());
    for (std::size_t k = 1; k <= kTensePassiveCount && k < children; ++k) {
        const AuxiliaryFields& fields = rules[k - 1];
        childRules[k] = ComposeRule(fields.allOf, fields.anyOf, fields.noneOf, participle, lookAlikes);
    }
    // 形式上的被动语态: a form of "be" before an adjective in -ed; nothing is erased.
    if (kFormalPassive < children) {
        childRules[kFormalPassive] =
            "+ is / am / are /'s /'m /'re / was / were / isn't / aren't / wasn't / weren't ++" +
            EdAdjectiveStems(verbs.EdAdjectives) + "+";
    }
}

} // namespace lectoria::grammar
