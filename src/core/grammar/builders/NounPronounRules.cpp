#include "grammar/CategoryBuilders.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/WordListData.h"
#include "grammar/builders/BuilderHelpers.h"

namespace lectoria::grammar {

namespace {

// Children of 名词 whose rules are rewritten after the grandchild rules are installed.
constexpr int kCountableModifiers = 1;
constexpr int kUncountableModifiers = 2;
constexpr int kFirstSuffixClass = 9;
constexpr int kSuffixMan = 20;

// Children of 数词 that test digits directly instead of a word list.
constexpr int kArabicDigits = 3;
constexpr int kLessonTitle = 4;
constexpr int kPrice = 5;
constexpr int kWeight = 6;

// Entries without blanks, so a digit anywhere in the sentence counts, also inside "3rd" or "$5".
constexpr std::string_view kDigits = "0/1/2/3/4/5/6/7/8/9";

// The modifier only counts in the phrase "a <noun> of", with " of " after the noun.
void InstallOfPhraseRules(RuleTable& table, int c, const std::string& list,
                          std::initializer_list<std::string_view> nouns)
{
    std::vector<std::string>& rules = table.GrandchildRules[kParentNouns][static_cast<std::size_t>(c)];
    const std::vector<std::string> entries = SplitList(list, '/');
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (std::find(nouns.begin(), nouns.end(), entries[k]) != nouns.end()) {
            rules[k + 1] = " a +" + entries[k] + "++ of +";
        }
    }
}

// Every word of a suffix class also matches in its plural. One ending serves the whole class,
// chosen by its first entry ("es" after an "s"), so irregular plurals such as "cities" are missed.
void AddPluralForms(RuleTable& table, int c, const std::string& list)
{
    const std::vector<std::string> entries = SplitList(list, '/');
    const std::string& first = entries.front();
    const std::string ending = first.size() >= 2 && first[first.size() - 2] == 's' ? "es" : "s";
    std::vector<std::string>& rules = table.GrandchildRules[kParentNouns][static_cast<std::size_t>(c)];

    std::string plurals = WithAllReplaced(list, " / ", ending + " / ");
    plurals.pop_back();
    rules[0] = "+" + list + "/" + plurals + ending + " +++";
    for (std::size_t k = 0; k < entries.size(); ++k) {
        std::string plural = entries[k];
        if (!plural.empty() && plural.back() == ' ') {
            plural.pop_back();
        }
        rules[k + 1] = "+" + entries[k] + "/" + plural + ending + " +++";
    }
}

// Words in "man" form their plural in "men" wherever "man" occurs, replacing the regular ending.
void AddManPluralForms(RuleTable& table, int c, const std::string& list)
{
    const std::vector<std::string> entries = SplitList(list, '/');
    std::vector<std::string>& rules = table.GrandchildRules[kParentNouns][static_cast<std::size_t>(c)];
    rules[0] = "+" + list + "/" + WithAllReplaced(list, "man", "men") + "+++";
    for (std::size_t k = 0; k < entries.size(); ++k) {
        rules[k + 1] = "+" + entries[k] + "/" + WithAllReplaced(entries[k], "man", "men") + "+++";
    }
}

} // namespace

void BuildNounRules(RuleTable& table)
{
    const std::string_view nounLists[] = {
        {},
        lists::NounCountableModifiers,
        lists::NounUncountableModifiers,
        lists::NounMixedModifiers,
        lists::NounPluralsO,
        lists::NounPluralsF,
        lists::NounPluralOnly,
        lists::NounSameInBothNumbers,
        lists::NounPluralFormSingularSense,
        lists::NounSuffixAge,
        lists::NounSuffixAn,
        lists::NounSuffixAnce,
        lists::NounSuffixDom,
        lists::NounSuffixEnce,
        lists::NounSuffixEr,
        lists::NounSuffixEse,
        lists::NounSuffixHood,
        lists::NounSuffixIng,
        lists::NounSuffixIst,
        lists::NounSuffixIty,
        lists::NounSuffixMan,
        lists::NounSuffixMent,
        lists::NounSuffixNess,
        lists::NounSuffixOr,
        lists::NounSuffixRess,
        lists::NounSuffixShip,
        lists::NounSuffixSion,
        lists::NounSuffixSure,
        lists::NounSuffixTh,
        lists::NounSuffixTion,
        lists::NounSuffixTure,
    };
    const std::vector<std::string> words = InstallWordLists(table, kParentNouns, nounLists);

    InstallOfPhraseRules(table, kCountableModifiers, words[kCountableModifiers], {" number "});
    InstallOfPhraseRules(table, kUncountableModifiers, words[kUncountableModifiers], {" deal ", " amount ", " bit "});

    for (std::size_t c = kFirstSuffixClass; c < words.size(); ++c) {
        if (!words[c].empty()) {
            AddPluralForms(table, static_cast<int>(c), words[c]);
        }
    }
    AddManPluralForms(table, kSuffixMan, words[kSuffixMan]);
}

void BuildArticleRules(RuleTable& table)
{
    // The vowel-sound child knows no "u" and its "the o" has no leading blank, so "bathe often"
    // counts; any "the on" (the one, the only) rules the sentence out even beside another match.
    table.ChildRules[kParentArticles] = {
        "+ an / a / the +++", "+ an +++", "+ a +++", "+ the +++", "+ the a/ the e/ the i/the o+the on++",
    };
}

void BuildPronounRules(RuleTable& table)
{
    const std::string_view pronounLists[] = {
        {},
        lists::PronounSubject,
        lists::PronounObject,
        lists::PronounPossessiveDeterminer,
        lists::PronounPossessive,
        lists::PronounReflexive,
        lists::PronounDemonstrative,
        lists::PronounIndefinite,
        lists::PronounCompoundIndefinite,
        lists::PronounReciprocal,
        lists::PronounInterrogative,
        lists::PronounCompoundConnective,
    };
    InstallWordLists(table, kParentPronouns, pronounLists);
}

void BuildNumeralRules(RuleTable& table)
{
    const std::string_view numeralLists[] = {{}, lists::NumeralCardinal, lists::NumeralOrdinal};
    InstallWordLists(table, kParentNumerals, numeralLists);

    const std::string digits(kDigits);
    std::vector<std::string>& rules = table.ChildRules[kParentNumerals];
    // Lesson titles carry digits too, so the plain digit and price topics leave them out.
    rules[kArabicDigits] = "+" + digits + "+lesson ++";
    rules[kLessonTitle] = "lesson +" + digits + "+++";
    rules[kPrice] = "$+" + digits + "+lesson ++";
    rules[kWeight] = " pound+" + digits + "+++";
}

} // namespace lectoria::grammar
