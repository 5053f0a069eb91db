#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "grammar/TextRules.h"

namespace lectoria::grammar {

/// The marker a child rule holds when its rule depends on the grandchild.
inline constexpr std::string_view kGrandsonFilter = "GRANDSONFILTER";

/// The name of index 0 at every level of the topic tree ("all").
inline constexpr std::string_view kAllTopics = "所有";

/// The three-level topic tree with one rule string per child and, where a child has
/// grandchildren, one per grandchild. Filled once by BuildRuleTable, read-only afterwards.
struct RuleTable
{
    std::string ParentTopicList;
    std::vector<std::string> ChildTopicLists;                           ///< [p]
    std::vector<std::vector<std::string>> GrandchildLists;              ///< [p][c]
    std::vector<std::vector<std::string>> ChildRules;                   ///< [p][c]
    std::vector<std::vector<std::vector<std::string>>> GrandchildRules; ///< [p][c][g]
};

/// The shared verb-form lists handed to the verb-phrase builders.
struct VerbForms
{
    std::string BaseVerbs;
    std::string ThirdPersonVerbs;
    std::string IngForms;
    std::string RegularPastForms;
    std::string IrregularPastForms;
    std::string IrregularParticiples;
    std::string ToInfinitives;
    std::string EdAdjectives;
    std::string EdRemovals;
    std::string IngRemovals;
};

/// Builds the verb-form lists, deriving ToInfinitives and EdRemovals.
VerbForms BuildVerbForms();

/// Fills an empty table: the topic tree, the "++++" defaults, then every category builder.
void BuildRuleTable(RuleTable& table);

/// The built-in table, built on first use and shared by the whole program (safe from any thread).
const RuleTable& BuiltInRuleTable();

/// Turns one word list per child into grandchild topics whose rules test one word each.
void InstallGrandchildRules(RuleTable& table, int p, int n, const std::vector<std::string>& lists);

int FindParentIndex(const RuleTable& table, std::string_view name);
int FindChildIndex(const RuleTable& table, int p, std::string_view name);
int FindGrandchildIndex(const RuleTable& table, int p, int c, std::string_view name);

/// The rule string a topic selection ("parent+child[+grandchild]") picks.
std::string SelectedRuleString(const RuleTable& table, std::string_view selection);

/// Parses the rule a topic selection picks; the current rule of a search.
TopicRule SelectRule(const RuleTable& table, std::string_view selection);

/// What the grandchild box shows for a parent and child: the trimmed names and the entry to select.
struct GrandchildCombo
{
    std::vector<std::string> names;
    int selected = 0;
};

/// The list-making logic of the grandchild box; `wanted` empty selects entry 0.
GrandchildCombo FillGrandchildCombo(const RuleTable& table, int p, int c, std::string_view wanted);

} // namespace lectoria::grammar
