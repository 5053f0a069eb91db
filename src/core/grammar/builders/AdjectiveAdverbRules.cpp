#include "grammar/CategoryBuilders.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/TextRules.h"
#include "grammar/WordListData.h"
#include "grammar/builders/BuilderHelpers.h"

namespace lectoria::grammar {

namespace {

// Children of 形容词 whose rules test more than the word itself.
constexpr int kPairedParticiples = 14;
constexpr int kAdjectivePhrases = 16;
constexpr int kComparative = 17;
constexpr int kSuperlative = 18;

// Children of 副词 that only count in sentences without a question mark.
constexpr int kInterrogativeAdverbs = 7;
constexpr int kRelativeAdverbs = 8;

// Children of 介词 whose " to " must not be the "to" of an infinitive or of a set phrase.
constexpr int kTimePrepositions = 1;
constexpr int kDirectionPrepositions = 3;

// Children of 连词 with entries that are erased inside set phrases first.
constexpr int kCausalConjunctions = 4;
constexpr int kTemporalConjunctions = 6;

// An adjective phrase is an adjective followed by its preposition, and the adjectives are the
// ones that commonly take that preposition.
struct PhraseGroup
{
    std::string_view preposition;
    std::string_view adjectives;
};

std::span<const PhraseGroup> PhraseGroups()
{
    static const PhraseGroup groups[] = {
        {" about ", lists::AdjectivePhraseAbout}, {" at ", lists::AdjectivePhraseAt},
        {" for ", lists::AdjectivePhraseFor},     {" from ", lists::AdjectivePhraseFrom},
        {" in ", lists::AdjectivePhraseIn},       {" of ", lists::AdjectivePhraseOf},
        {" to ", lists::AdjectivePhraseTo},       {" with ", lists::AdjectivePhraseWith},
    };
    return groups;
}

// "to be", "to build" ... would otherwise pass as "close to", "used to" and the like once
// "be" or "get" stands earlier in the sentence.
constexpr std::string_view kAdjectivePhraseToErasures = " to be / to detect / to build / to remove / to hide ";

// "had better" is advice, not a comparison.
constexpr std::string_view kHadBetterErasures = "'d better / had better ";

// "est " has no leading blank, so any word ending in "est" counts as a superlative.
constexpr std::string_view kSuperlatives = " the most / the best / the worst / the least / the latest / the last / "
                                           "the oldest / the eldest / the farthest / the furthest /est ";

constexpr std::string_view kInterrogativeMark = "?";

// Appended to the infinitives: phrases whose "to" is no preposition of time or direction.
constexpr std::string_view kToPhraseErasures = "/ going to / to be / to do / to have / to school / to church / "
                                               "to hospital / to bed / have to / has to / had to / hasn't to / "
                                               "haven't to / hadn't to ";

// A conjunction that also occurs in a set phrase where it is no conjunction.
struct ErasedPhrase
{
    int child;
    std::string_view entry;
    std::string_view erase;
};

constexpr ErasedPhrase kConjunctionPhrases[] = {
    {kTemporalConjunctions, " the moment ", " at the moment "},
    {kTemporalConjunctions, " while ", " while ago / a while "},
    {kCausalConjunctions, " because ", " because of "},
};

std::vector<std::string>& GrandchildRulesOf(RuleTable& table, int p, int c)
{
    return table.GrandchildRules[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)];
}

// Each adjective followed by the preposition: " anxious / careful " with " about " gives
// " anxious about / careful about ".
std::string PhraseList(std::string_view adjectives, std::string_view preposition)
{
    constexpr std::string_view separator = " / ";
    std::string phrases;
    std::size_t start = 0;
    for (std::size_t hit = adjectives.find(separator); hit != std::string_view::npos;
         hit = adjectives.find(separator, start)) {
        phrases.append(adjectives.substr(start, hit - start));
        phrases.append(preposition);
        phrases.append("/ ");
        start = hit + separator.size();
    }
    phrases.append(adjectives.substr(start));
    if (!phrases.empty()) {
        phrases.pop_back();
    }
    phrases.append(preposition);
    return phrases;
}

// Each pair " boring , bored " tests both forms, the ed form first.
void InstallParticipleRules(RuleTable& table, const std::string& pairList)
{
    std::vector<std::string>& rules = GrandchildRulesOf(table, kParentAdjectives, kPairedParticiples);
    const std::vector<std::string> pairs = SplitList(pairList, '/');
    std::vector<std::string> bothForms;
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const std::string& pair = pairs[k];
        const std::string edForm = pair.substr(pair.rfind(',') + 1);
        const std::string ingForm = pair.substr(0, pair.find(','));
        bothForms.push_back(edForm + "/" + ingForm);
        rules[k + 1] = ComposeRule("", bothForms.back(), "", "", "");
    }
    rules[0] = ComposeRule("", JoinList(bothForms, '/'), "", "", "");
}

// A form of "be" or "get" must come before the phrase, so a fronted "afraid of dogs, ..." does not count.
void InstallAdjectivePhraseRules(RuleTable& table)
{
    std::vector<std::string>& rules = GrandchildRulesOf(table, kParentAdjectives, kAdjectivePhrases);
    const std::string_view beOrGet = lists::BeOrGetForms;
    std::vector<std::string> allPhrases;
    const std::span<const PhraseGroup> groups = PhraseGroups();
    for (std::size_t k = 0; k < groups.size(); ++k) {
        const PhraseGroup& group = groups[k];
        allPhrases.push_back(PhraseList(group.adjectives, group.preposition));
        const std::string_view erase = group.preposition == " to " ? kAdjectivePhraseToErasures : "";
        rules[k + 1] = ComposeRule("", beOrGet, "", allPhrases.back(), erase);
    }
    rules[0] = ComposeRule("", beOrGet, "", JoinList(allPhrases, '/'), "");
}

std::string PrepositionList()
{
    std::vector<std::string> prepositions;
    for (const PhraseGroup& group : PhraseGroups()) {
        prepositions.emplace_back(group.preposition);
    }
    return JoinList(prepositions, '/');
}

} // namespace

void BuildAdjectiveRules(RuleTable& table)
{
    const std::string prepositions = PrepositionList();
    const std::string_view adjectiveLists[] = {
        {},
        lists::AdjectiveGoodBad,
        lists::AdjectivePraise,
        lists::AdjectiveCriticism,
        lists::AdjectiveGoodThings,
        lists::AdjectiveNeutralThings,
        lists::AdjectiveBadThings,
        lists::AdjectiveWholePart,
        lists::AdjectiveKind,
        lists::AdjectiveColour,
        lists::AdjectiveShape,
        lists::AdjectiveTime,
        lists::AdjectivePosition,
        lists::AdjectiveFood,
        lists::AdjectivePairedParticiples,
        lists::AdjectivePredicativeOnly,
        prepositions,
        " than ",
        {},
        lists::AdjectiveSuffixIng,
        lists::AdjectiveSuffixEd,
        lists::AdjectiveSuffixOus,
        lists::AdjectiveSuffixCal,
        lists::AdjectiveSuffixAl,
        lists::AdjectiveSuffixBle,
        lists::AdjectiveSuffixFul,
        lists::AdjectiveSuffixIc,
        lists::AdjectiveSuffixIve,
        lists::AdjectiveSuffixAry,
        lists::AdjectiveSuffixLy,
        lists::AdjectiveSuffixY,
        lists::AdjectiveSuffixAnt,
        lists::AdjectiveSuffixSome,
        lists::AdjectiveSuffixLess,
        lists::AdjectivePrefixIm,
        lists::AdjectivePrefixUn,
        lists::AdjectivePrefixIn,
    };
    const std::vector<std::string> words = InstallWordLists(table, kParentAdjectives, adjectiveLists);

    InstallParticipleRules(table, words[kPairedParticiples]);
    InstallAdjectivePhraseRules(table);

    std::vector<std::string>& comparative = GrandchildRulesOf(table, kParentAdjectives, kComparative);
    comparative[0] = ComposeRule("", lists::Comparatives, "", "", kHadBetterErasures);
    comparative[1] = ComposeRule(words[kComparative], lists::Comparatives, "", "", kHadBetterErasures);

    // Words that merely end in "est" are erased first: "forest" entirely, "greatest" through "test".
    GrandchildRulesOf(table, kParentAdjectives, kSuperlative)[0] =
        ComposeRule(" the ", kSuperlatives, "", "", lists::AdjectiveSuperlativeErasures);
}

void BuildAdverbRules(RuleTable& table)
{
    const std::string_view adverbLists[] = {
        {},
        lists::AdverbTime,
        lists::AdverbPlace,
        lists::AdverbManner,
        lists::AdverbDegree,
        lists::AdverbFrequency,
        lists::AdverbSentence,
        lists::AdverbInterrogative,
        lists::AdverbInterrogative,
        lists::AdverbConjunctive,
        lists::AdverbNegativeAffirmative,
        lists::AdverbComparative,
        lists::AdverbSuperlative,
        lists::AdverbSameAsAdjective,
    };
    InstallWordLists(table, kParentAdverbs, adverbLists);

    // In a question the wh-word is a question word, so neither child may find it there.
    for (const int c : {kInterrogativeAdverbs, kRelativeAdverbs}) {
        for (std::string& rule : GrandchildRulesOf(table, kParentAdverbs, c)) {
            rule.erase(std::remove(rule.begin(), rule.end(), '+'), rule.end());
            rule = ComposeRule("", rule, kInterrogativeMark, "", "");
        }
    }
}

void BuildPrepositionRules(RuleTable& table, const VerbForms& verbs)
{
    const std::string_view prepositionLists[] = {
        {},
        lists::PrepositionTime,
        lists::PrepositionPlace,
        lists::PrepositionDirection,
        lists::PrepositionManner,
        lists::PrepositionOther,
    };
    const std::vector<std::string> words = InstallWordLists(table, kParentPrepositions, prepositionLists);

    // Infinitive entries such as " to go" have no trailing blank, so they also erase the start of
    // longer words ("to good"); that is accepted to keep every infinitive out.
    const std::string toErasures = verbs.ToInfinitives + std::string(kToPhraseErasures);
    for (const int c : {kTimePrepositions, kDirectionPrepositions}) {
        std::vector<std::string>& rules = GrandchildRulesOf(table, kParentPrepositions, c);
        rules[0] += toErasures;
        const std::vector<std::string> entries = SplitList(words[static_cast<std::size_t>(c)], '/');
        for (std::size_t k = 0; k < entries.size(); ++k) {
            if (entries[k] == " to ") {
                rules[k + 1] += toErasures;
            }
        }
    }
}

void BuildConjunctionRules(RuleTable& table)
{
    const std::string_view conjunctionLists[] = {
        {},
        lists::ConjunctionCoordinating,
        lists::ConjunctionAdversative,
        lists::ConjunctionAlternative,
        lists::ConjunctionCausal,
        lists::ConjunctionConcessive,
        lists::ConjunctionTemporal,
    };
    const std::vector<std::string> words = InstallWordLists(table, kParentConjunctions, conjunctionLists);

    // Only these grandchildren erase: their child's 所有 and the adversative " while " keep plain
    // rules, so "a while" still counts there.
    for (const ErasedPhrase& phrase : kConjunctionPhrases) {
        std::vector<std::string>& rules = GrandchildRulesOf(table, kParentConjunctions, phrase.child);
        const std::vector<std::string> entries = SplitList(words[static_cast<std::size_t>(phrase.child)], '/');
        for (std::size_t k = 0; k < entries.size(); ++k) {
            if (entries[k] == phrase.entry) {
                rules[k + 1] = ComposeRule("", phrase.entry, "", "", phrase.erase);
            }
        }
    }
}

} // namespace lectoria::grammar
