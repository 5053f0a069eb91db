// The shared verb-form lists: their sizes, the entries and oddities every rule relies on, and
// the lists derived from them.
#include <algorithm>

#include <gtest/gtest.h>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

using namespace lectoria::grammar;

namespace {

long Count(const std::vector<std::string>& entries, const std::string& entry)
{
    return std::count(entries.begin(), entries.end(), entry);
}

struct ListCase
{
    const char* name;
    std::string VerbForms::*list;
    std::size_t size;
    std::vector<std::string> first;
};

TEST(VerbForms, SizesAndFirstEntries)
{
    const VerbForms verbs = BuildVerbForms();
    const ListCase cases[] = {
        {"BaseVerbs",
         &VerbForms::BaseVerbs,
         1022,
         {" abandon ", " abide ", " absorb ", " abuse ", " accelerate ", " accept "}},
        {"ThirdPersonVerbs", &VerbForms::ThirdPersonVerbs, 1022, {" abandons ", " abides ", " absorbs ", " abuses "}},
        {"IngForms", &VerbForms::IngForms, 1027, {" abandoning ", " abiding ", " absorbing "}},
        {"RegularPastForms", &VerbForms::RegularPastForms, 683, {" abandoned ", " absorbed ", " abused "}},
        {"IrregularPastForms",
         &VerbForms::IrregularPastForms,
         414,
         {" abided ", " abode ", " alighted ", " alit ", " arose ", " ate "}},
        {"IrregularParticiples",
         &VerbForms::IrregularParticiples,
         442,
         {" abided ", " abode ", " alighted ", " alit ", " arisen ", " awaked "}},
        {"EdAdjectives",
         &VerbForms::EdAdjectives,
         74,
         {" advanced ", " amused ", " ashamed ", " assorted ", " blackened ", " bogged "}},
        {"ToInfinitives", &VerbForms::ToInfinitives, 1022, {" to abandon", " to abide", " to absorb"}},
        {"EdRemovals", &VerbForms::EdRemovals, 88, {" advanced ", " amused "}},
        {"IngRemovals", &VerbForms::IngRemovals, 35, {"spring ", "handwriting ", " thing "}},
    };
    for (const ListCase& c : cases) {
        const std::vector<std::string> entries = SplitList(verbs.*c.list, '/');
        EXPECT_EQ(entries.size(), c.size) << c.name;
        ASSERT_GE(entries.size(), c.first.size()) << c.name;
        EXPECT_EQ(std::vector<std::string>(entries.begin(), entries.begin() + static_cast<long>(c.first.size())),
                  c.first)
            << c.name;
    }
}

TEST(VerbForms, QuotedOdditiesStayAsTheyAre)
{
    const VerbForms verbs = BuildVerbForms();
    const std::vector<std::string> base = SplitList(verbs.BaseVerbs, '/');
    const std::vector<std::string> third = SplitList(verbs.ThirdPersonVerbs, '/');
    const std::vector<std::string> ing = SplitList(verbs.IngForms, '/');
    const std::vector<std::string> regular = SplitList(verbs.RegularPastForms, '/');
    const std::vector<std::string> past = SplitList(verbs.IrregularPastForms, '/');
    const std::vector<std::string> participles = SplitList(verbs.IrregularParticiples, '/');
    const std::vector<std::string> adjectives = SplitList(verbs.EdAdjectives, '/');
    const std::vector<std::string> edRemovals = SplitList(verbs.EdRemovals, '/');
    const std::vector<std::string> ingRemovals = SplitList(verbs.IngRemovals, '/');

    EXPECT_EQ(Count(base, " Increase "), 1);
    EXPECT_EQ(Count(third, " Increases "), 1);
    EXPECT_EQ(Count(ing, " Increasing "), 1);
    EXPECT_EQ(Count(regular, " Increased "), 1);
    EXPECT_EQ(Count(ing, " regretting  "), 1);
    EXPECT_EQ(Count(regular, " cancelled "), 2);
    EXPECT_EQ(Count(past, " fled "), 2);
    EXPECT_EQ(Count(participles, " fled "), 2);
    EXPECT_EQ(Count(adjectives, "sacred "), 1);
    EXPECT_EQ(Count(edRemovals, " cow shed "), 1);
    // Entries that lack a blank on one side match inside longer words, and "spring" is there both ways.
    for (const char* entry : {"spring ", " spring ", " morning", " evening", " according", " something"}) {
        EXPECT_EQ(Count(ingRemovals, entry), 1) << '"' << entry << '"';
    }
    EXPECT_EQ(base.back(), " write ");
    EXPECT_EQ(std::vector<std::string>(ing.end() - 3, ing.end()),
              (std::vector<std::string>{" travelling ", " quarrelling ", " benefitting "}));
}

TEST(VerbForms, ParallelListsStayAligned)
{
    const VerbForms verbs = BuildVerbForms();
    const std::vector<std::string> base = SplitList(verbs.BaseVerbs, '/');
    const std::vector<std::string> third = SplitList(verbs.ThirdPersonVerbs, '/');
    const std::vector<std::string> ing = SplitList(verbs.IngForms, '/');
    ASSERT_EQ(base.size(), third.size());
    for (std::size_t i = 0; i < base.size(); ++i) {
        // Each third-person form starts with its base form's stem (the base without a final 'e' or 'y').
        std::string stem = base[i].substr(0, base[i].size() - 1);
        if (!stem.empty() && (stem.back() == 'e' || stem.back() == 'y')) {
            stem.pop_back();
        }
        EXPECT_EQ(third[i].rfind(stem, 0), 0u) << base[i] << " / " << third[i];
        EXPECT_EQ(ing[i].rfind(stem.substr(0, std::max<std::size_t>(stem.size(), 3) - 1), 0), 0u)
            << base[i] << " / " << ing[i];
    }
}

TEST(VerbForms, InfinitivesKeepOnlyTheLastTrailingBlank)
{
    const VerbForms verbs = BuildVerbForms();
    const std::vector<std::string> infinitives = SplitList(verbs.ToInfinitives, '/');
    EXPECT_EQ(infinitives.back(), " to write ");
    EXPECT_EQ(
        std::count_if(infinitives.begin(), infinitives.end(), [](const std::string& e) { return e.back() == ' '; }), 1);
    const std::vector<std::string> removals = SplitList(verbs.EdRemovals, '/');
    EXPECT_EQ(std::vector<std::string>(removals.end() - 2, removals.end()),
              (std::vector<std::string>{" speed ", " weed "}));
    EXPECT_EQ(SplitList(verbs.IngRemovals, '/').back(), " nothing");
}

} // namespace
