#include <string>
#include <string_view>
#include <vector>

#include "grammar/CategoryBuilders.h"
#include "grammar/TextRules.h"
#include "grammar/WordListData.h"
#include "grammar/builders/BuilderHelpers.h"

namespace lectoria::grammar {

namespace {

constexpr int kInfinitiveChild = 1;
constexpr int kPresentParticipleChild = 2;
constexpr int kPastParticipleChild = 3;
constexpr int kGerundChild = 4;

constexpr int kAllModalsChild = 0;
constexpr int kOrdinaryModalsChild = 1;
constexpr int kToModalsChild = 2;
constexpr int kModalPerfectChild = 3;

// " to" + verb would otherwise also find the semi-modals.
constexpr std::string_view kSemiModalsWithTo = " going to / have to / has to / had to /'ve to ";

// A sentence with any form of "be" is taken as progressive: its -ing form is no participle or gerund.
constexpr std::string_view kProgressiveBeForms =
    " is / am / are /'s /'m /'re / was / were / be / been / being / isn't / aren't / wasn't / weren't ";

} // namespace

void BuildNonFiniteRules(RuleTable& table, const VerbForms& verbs)
{
    std::vector<std::string>& rules = table.ChildRules[kParentNonFinite];
    const std::string ingRule = "++" + std::string(kProgressiveBeForms) + "+" + verbs.IngForms + "+";
    rules[kInfinitiveChild] = "+" + verbs.ToInfinitives + "+" + std::string(kSemiModalsWithTo) + "++";
    // The two -ing topics cannot be told apart by words; grammar marks separate them.
    rules[kPresentParticipleChild] = ingRule;
    rules[kGerundChild] = ingRule;
    rules[kPastParticipleChild] = "+++" + verbs.RegularPastForms + "/" + verbs.IrregularParticiples + "+";
}

void BuildModalRules(RuleTable& table, const VerbForms& verbs)
{
    const std::size_t childCount = static_cast<std::size_t>(ChildCount(table, kParentModals));
    std::vector<std::string>& grandchildLists = table.GrandchildLists[kParentModals];
    std::vector<std::vector<std::string>>& grandchildRules = table.GrandchildRules[kParentModals];
    grandchildLists.assign(childCount, std::string(kAllTopics));
    table.ChildRules[kParentModals].assign(childCount, std::string(kGrandsonFilter));
    grandchildRules.assign(childCount, {});

    const std::string modals(lists::Modals);
    const std::string negatedModals(lists::NegatedModals);
    const std::string toModals(lists::ToModals);
    const std::string anyModal = modals + "/" + negatedModals;

    grandchildLists[kOrdinaryModalsChild] = std::string(kAllTopics) + "/" + modals;
    // This child has no "所有" entry: its grandchild 0 is " have to ".
    grandchildLists[kToModalsChild] = toModals + "/" + std::string(lists::BeToModals);

    grandchildRules[kAllModalsChild].push_back("+" + anyModal + "/" + toModals + "+++");

    std::vector<std::string>& ordinary = grandchildRules[kOrdinaryModalsChild];
    ordinary.push_back("+" + anyModal + "+++");
    const std::vector<std::string> modalEntries = SplitList(modals, '/');
    const std::vector<std::string> negations = SplitList(negatedModals, '/');
    for (std::size_t i = 0; i < modalEntries.size(); ++i) {
        std::string forms = modalEntries[i];
        if (i < negations.size()) {
            forms += "/" + negations[i];
        }
        // "cannot" is one word, so neither " can " nor " can't " finds it.
        if (i == 0) {
            forms += "/ cannot ";
        }
        ordinary.push_back("+" + forms + "+++");
    }

    std::vector<std::string>& withTo = grandchildRules[kToModalsChild];
    withTo.push_back(Concat({"+", lists::HaveToForms, "+++"}));
    // "be used to" and "get used to" are adjective phrases, not the modal of past habit.
    withTo.push_back("+ used to + got / get / am /were ++");
    withTo.push_back("+ ought to / ought not to +++");
    // " be able to " keeps only " able ": the form of "be" varies, so it is looked for apart,
    // and " to " must follow it.
    for (std::string phrase : SplitList(lists::BeToModals, '/')) {
        ReplaceAll(phrase, " be", "");
        ReplaceAll(phrase, "to ", "");
        withTo.push_back(phrase + "+" + std::string(lists::ModalBeForms) + "++ to +");
    }

    // " have to " is erased as a substring, so it also cuts "have told" apart.
    grandchildRules[kModalPerfectChild].push_back(" have +" + anyModal + "++ been /ed /" + verbs.IrregularParticiples +
                                                  "+ have to ");
}

} // namespace lectoria::grammar
