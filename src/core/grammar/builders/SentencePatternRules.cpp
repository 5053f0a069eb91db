#include "grammar/CategoryBuilders.h"

#include <string>
#include <string_view>
#include <vector>

#include "grammar/WordListData.h"
#include "grammar/builders/BuilderHelpers.h"

namespace lectoria::grammar {

namespace {

enum PatternChild : std::size_t
{
    kBePredicative = 1,
    kLinkingVerbs = 2,
    kTwoObjects = 5,
    kObjectComplement = 6,
    kThereBe = 7,
    kSoThat = 8,
    kImperative = 9,
    kExclamatory = 10,
    kWhQuestion = 11,
    kYesNoQuestion = 12,
    kTagQuestion = 13,
};

// No leading blanks, so "how " also hits "show" and "what " hits "somewhat".
constexpr const char* kWhWords =
    "what /when /where /who /whose /whom /which /why /how /how many /how much /how long /how often /how old ";

// The participles of the complement verbs that differ from their past forms.
constexpr const char* kComplementParticiples = "/ chosen / driven / forbidden / gotten / known / proven / shown ";

std::string BePredicativeRule(const VerbForms& verbs)
{
    // "ed" and "ing" carry no blanks on purpose: any word holding them (interested, king, red)
    // rules the sentence out, which keeps participles and progressive forms away from this topic.
    const std::string otherVerbs = Concat(
        {" there / there's / there're / have / has /'ve / having / been / being / did /'d ", "/ed/ing", "/",
         verbs.BaseVerbs, "/", verbs.ThirdPersonVerbs, "/", verbs.IrregularPastForms, "/", verbs.IrregularParticiples});
    return Concat({"+", lists::PatternBeForms, "+", otherVerbs, "++"});
}

void InstallLinkingVerbRules(RuleTable& table)
{
    table.ChildRules[kParentSentencePatterns][kLinkingVerbs] = std::string(kGrandsonFilter);
    table.GrandchildLists[kParentSentencePatterns][kLinkingVerbs] = Concat({kAllTopics, "/", lists::PatternLinkVerbs});

    std::vector<std::string>& rules = table.GrandchildRules[kParentSentencePatterns][kLinkingVerbs];
    rules.push_back(Concat({"+", lists::PatternLinkVerbs, "/", lists::PatternLinkVerbThirdPersons, "/",
                            lists::PatternLinkVerbPasts, "+++"}));
    // The leading "所有" entry shifts every list so that entry k is the k-th verb, as the grandchild index counts.
    const std::vector<std::string> bases = SplitList(Concat({kAllTopics, "/", lists::PatternLinkVerbs}), '/');
    const std::vector<std::string> thirds =
        SplitList(Concat({kAllTopics, "/", lists::PatternLinkVerbThirdPersons}), '/');
    const std::vector<std::string> pasts = SplitList(Concat({kAllTopics, "/", lists::PatternLinkVerbPasts}), '/');
    for (std::size_t k = 1; k < bases.size(); ++k) {
        rules.push_back(Concat({"+", bases[k], "/", thirds[k], "/", pasts[k], "+++"}));
    }
}

void InstallObjectComplementRules(RuleTable& table)
{
    const std::string verbs =
        Concat({lists::PatternComplementVerbs, "/", lists::PatternComplementThirdPersons, "/",
                lists::PatternComplementIngForms, "/", lists::PatternComplementPasts, kComplementParticiples});
    // A complement verb directly followed by "to" takes an infinitive object (I want to go), not
    // an object with its complement (I want him to go).
    std::vector<std::string> followedByTo = SplitList(verbs, '/');
    for (std::string& entry : followedByTo) {
        entry += "to ";
    }

    table.ChildRules[kParentSentencePatterns][kObjectComplement] = std::string(kGrandsonFilter);
    std::string& names = table.GrandchildLists[kParentSentencePatterns][kObjectComplement];
    names = std::string(kAllTopics);
    std::vector<std::string>& rules = table.GrandchildRules[kParentSentencePatterns][kObjectComplement];
    rules.insert(rules.end(), SplitList(names, '/').size(), "++++");
    rules[0] = Concat({"+", verbs, "+", JoinList(followedByTo, '/'), "++"});
}

void InstallWhQuestionRules(RuleTable& table)
{
    table.ChildRules[kParentSentencePatterns][kWhQuestion] = std::string(kGrandsonFilter);
    std::string& names = table.GrandchildLists[kParentSentencePatterns][kWhQuestion];
    names = Concat({kAllTopics, "/", kWhWords});
    std::vector<std::string>& rules = table.GrandchildRules[kParentSentencePatterns][kWhQuestion];
    rules.insert(rules.end(), SplitList(names, '/').size(), "++++");
    rules[0] = Concat({"?+", kWhWords, "+++"});
    const std::vector<std::string> words = SplitList(kWhWords, '/');
    for (std::size_t i = 0; i < words.size(); ++i) {
        rules[i + 1] = Concat({"?+", words[i], "+++"});
    }
}

} // namespace

void BuildSentencePatternRules(RuleTable& table, const VerbForms& verbs)
{
    std::vector<std::string>& rules = table.ChildRules[kParentSentencePatterns];

    rules[kBePredicative] = BePredicativeRule(verbs);
    InstallLinkingVerbRules(table);
    rules[kTwoObjects] =
        Concat({"+", lists::PatternDitransitiveVerbs, "+ to / for + him / her / them / me / us / you +"});
    InstallObjectComplementRules(table);
    rules[kThereBe] = "there + is / are /there's /there're / isn't / aren't / was / were / wasn't / weren't +++";
    // "so that" and "such that" introduce purpose and result clauses, so they go before the test.
    rules[kSoThat] = "+ so / such ++ that + so that / such that ";
    // The erased pronoun forms are statements and tags, not commands. "Millionaires don't " holds a
    // capital and so never matches a lower-cased sentence.
    rules[kImperative] =
        "+ let / let's / don't +?/ would / won't / shall /Millionaires don't ++"
        "i don't /we don't /you don't /they don't /don't we /don't you /don't they / to let / let out ";
    rules[kExclamatory] = Concat({"+ how / what +", lists::PatternExclamationVerbs, "++"});
    InstallWhQuestionRules(table);
    rules[kYesNoQuestion] = Concat({"?++", kWhWords, "++"});
    rules[kTagQuestion] = "?/,+n't/not +what /when /where /who /whose /whom /which /why /how ++";
}

} // namespace lectoria::grammar
