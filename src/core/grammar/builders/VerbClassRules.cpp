#include "grammar/builders/VerbClassRules.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/CategoryBuilders.h"
#include "grammar/WordListData.h"
#include "grammar/builders/BuilderHelpers.h"

namespace lectoria::grammar {

namespace {

constexpr int kFirstClassChild = 1;
constexpr int kPhrasalByVerbChild = 8;
constexpr int kPhrasalByParticleChild = 9;

/// The verb classes in child order: children 1 to 8 of 谓语动词.
std::array<VerbClass, 8> VerbClasses()
{
    auto make = [](std::string_view bases, std::string_view pasts, std::string_view thirdPersons,
                   std::string_view ingForms, std::string_view participles, std::string_view owners) {
        return VerbClass{std::string(bases),    std::string(pasts),       std::string(thirdPersons),
                         std::string(ingForms), std::string(participles), std::string(owners)};
    };
    return {
        make(lists::LinkingVerbBases, lists::LinkingVerbPasts, lists::LinkingVerbThirdPersons,
             lists::LinkingVerbIngForms, lists::LinkingVerbParticiples, lists::LinkingVerbParticipleOwners),
        make(lists::IntransitiveVerbBases, lists::IntransitiveVerbPasts, lists::IntransitiveVerbThirdPersons,
             lists::IntransitiveVerbIngForms, lists::IntransitiveVerbParticiples,
             lists::IntransitiveVerbParticipleOwners),
        make(lists::DitransitiveVerbBases, lists::DitransitiveVerbPasts, lists::DitransitiveVerbThirdPersons,
             lists::DitransitiveVerbIngForms, lists::DitransitiveVerbParticiples,
             lists::DitransitiveVerbParticipleOwners),
        make(lists::ObjectComplementVerbBases, lists::ObjectComplementVerbPasts,
             lists::ObjectComplementVerbThirdPersons, lists::ObjectComplementVerbIngForms,
             lists::ObjectComplementVerbParticiples, lists::ObjectComplementVerbParticipleOwners),
        make(lists::PerceptionVerbBases, lists::PerceptionVerbPasts, lists::PerceptionVerbThirdPersons,
             lists::PerceptionVerbIngForms, lists::PerceptionVerbParticiples, lists::PerceptionVerbParticipleOwners),
        make(lists::CausativeVerbBases, lists::CausativeVerbPasts, lists::CausativeVerbThirdPersons,
             lists::CausativeVerbIngForms, lists::CausativeVerbParticiples, lists::CausativeVerbParticipleOwners),
        make(lists::AuxiliaryVerbBases, lists::AuxiliaryVerbPasts, lists::AuxiliaryVerbThirdPersons,
             lists::AuxiliaryVerbIngForms, lists::AuxiliaryVerbParticiples, lists::AuxiliaryVerbParticipleOwners),
        make(lists::PhrasalVerbBases, lists::PhrasalVerbPasts, lists::PhrasalVerbThirdPersons,
             lists::PhrasalVerbIngForms, lists::PhrasalVerbParticiples, lists::PhrasalVerbParticipleOwners),
    };
}

struct ParticleErasure
{
    std::string_view particle;
    std::string_view erasure;
};

// A short particle is also the start of a longer one in the list; erasing the longer phrases
// keeps " out " from finding "ran out of".
constexpr ParticleErasure kParticleErasures[] = {
    {" out ", " out of "},
    {" along ", " along with "},
    {" away ", " away from "},
    {" back ", " back on / back upon "},
    {" down ", " down to / down upon "},
    {" into ", " into pieces "},
    {" up ", " up for / up to / up with "},
};

std::string_view ErasureOf(std::string_view particle)
{
    for (const ParticleErasure& entry : kParticleErasures) {
        if (entry.particle == particle) {
            return entry.erasure;
        }
    }
    return {};
}

// Guards against a class whose parallel lists are not aligned; the built-in data always is.
const std::string& EntryAt(const std::vector<std::string>& entries, std::size_t k)
{
    static const std::string empty;
    return k < entries.size() ? entries[k] : empty;
}

std::string WithoutPlusSigns(std::string text)
{
    std::erase(text, '+');
    return text;
}

} // namespace

void InstallVerbFormRules(RuleTable& table, int parent, int child, const VerbClass& verbClass)
{
    const std::vector<std::string> bases = SplitList(verbClass.bases, '/');
    const std::vector<std::string> pasts = SplitList(verbClass.pasts, '/');
    const std::vector<std::string> thirdPersons = SplitList(verbClass.thirdPersons, '/');
    const std::vector<std::string> ingForms = SplitList(verbClass.ingForms, '/');
    const std::vector<std::string> participles = SplitList(verbClass.participles, '/');
    const std::vector<std::string> owners = SplitList(verbClass.participleOwners, '/');

    std::vector<std::string>& rules =
        table.GrandchildRules[static_cast<std::size_t>(parent)][static_cast<std::size_t>(child)];
    if (rules.size() < bases.size() + 1) {
        rules.resize(bases.size() + 1);
    }
    for (std::size_t k = 0; k < bases.size(); ++k) {
        std::string forms =
            bases[k] + "/" + EntryAt(pasts, k) + "/" + EntryAt(thirdPersons, k) + "/" + EntryAt(ingForms, k);
        // Owners are compared with their blanks, so a base that occurs twice gets the same
        // participles twice and an owner spelt unlike every base attaches its participle nowhere.
        for (std::size_t j = 0; j < participles.size(); ++j) {
            if (EntryAt(owners, j) == bases[k]) {
                forms += "/" + participles[j];
            }
        }
        rules[k + 1] = "+" + forms + "+++";
    }
    rules[0] = "+" + verbClass.bases + "/" + verbClass.pasts + "/" + verbClass.thirdPersons + "/" + verbClass.ingForms +
               "/" + verbClass.participles + "+++";
}

void BuildPredicateVerbRules(RuleTable& table, const VerbForms& /*verbs*/)
{
    const std::array<VerbClass, 8> classes = VerbClasses();
    const std::string particles(lists::Particles);
    const int childCount = ChildCount(table, kParentPredicateVerbs);

    std::vector<std::string> wordLists(static_cast<std::size_t>(childCount));
    for (std::size_t k = 0; k < classes.size(); ++k) {
        wordLists[k + kFirstClassChild] = classes[k].bases;
    }
    wordLists[kPhrasalByParticleChild] = particles;
    InstallGrandchildRules(table, kParentPredicateVerbs, childCount, wordLists);

    for (std::size_t k = 0; k < classes.size(); ++k) {
        InstallVerbFormRules(table, kParentPredicateVerbs, static_cast<int>(k) + kFirstClassChild, classes[k]);
    }

    // A phrasal verb is a verb form followed by a particle: the particles become the anyAfter
    // field, so the order test requires them after the verb.
    auto& grandchildRules = table.GrandchildRules[kParentPredicateVerbs];
    std::vector<std::string>& byVerb = grandchildRules[kPhrasalByVerbChild];
    for (std::string& rule : byVerb) {
        rule = Concat({"+", WithoutPlusSigns(rule), "++", particles, "+"});
    }

    const VerbClass& phrasal = classes[kPhrasalByVerbChild - kFirstClassChild];
    const std::string phrasalVerbForms = phrasal.bases + "/" + phrasal.pasts + "/" + phrasal.thirdPersons + "/" +
                                         phrasal.ingForms + "/" + phrasal.participles;
    std::vector<std::string>& byParticle = grandchildRules[kPhrasalByParticleChild];
    byParticle[0] = byVerb[0];
    const std::vector<std::string> particleEntries = SplitList(particles, '/');
    for (std::size_t i = 0; i < particleEntries.size(); ++i) {
        byParticle[i + 1] =
            "+" + phrasalVerbForms + "++" + particleEntries[i] + "+" + std::string(ErasureOf(particleEntries[i]));
    }
}

} // namespace lectoria::grammar
