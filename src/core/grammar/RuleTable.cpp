#include "grammar/RuleTable.h"

#include "grammar/CategoryBuilders.h"
#include "grammar/WordListData.h"

namespace lectoria::grammar {

namespace {

constexpr int kParentCount = 19;

// Splits a list and returns the index of the first entry equal to `name`, 0 when none is.
int IndexIn(std::string_view list, std::string_view name, bool trimmed)
{
    const std::vector<std::string> entries = SplitList(list, '/');
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((trimmed ? TrimOneBlank(entries[i]) : std::string_view(entries[i])) == name) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

bool ValidParent(const RuleTable& table, int p)
{
    return p >= 0 && static_cast<std::size_t>(p) < table.ChildRules.size();
}

bool ValidChild(const RuleTable& table, int p, int c)
{
    return ValidParent(table, p) && c >= 0 && static_cast<std::size_t>(c) < table.ChildRules[p].size();
}

} // namespace

VerbForms BuildVerbForms()
{
    VerbForms verbs;
    verbs.BaseVerbs = std::string(lists::BaseVerbs);
    verbs.ThirdPersonVerbs = std::string(lists::ThirdPersonVerbs);
    verbs.IngForms = std::string(lists::IngForms);
    verbs.RegularPastForms = std::string(lists::RegularPastForms);
    verbs.IrregularPastForms = std::string(lists::IrregularPastForms);
    verbs.IrregularParticiples = std::string(lists::IrregularParticiples);
    verbs.EdAdjectives = std::string(lists::EdAdjectives);
    // Words that end in "ed" without being a participle: the -ed adjectives and a few other words.
    verbs.EdRemovals = verbs.EdAdjectives + "/" + std::string(lists::EdRemovalExtras);
    verbs.IngRemovals = std::string(lists::IngRemovals);
    // Every entry but the last loses its trailing blank; the last keeps it.
    std::vector<std::string> infinitives = SplitList(verbs.BaseVerbs, '/');
    for (std::size_t i = 0; i < infinitives.size(); ++i) {
        std::string& entry = infinitives[i];
        if (i + 1 < infinitives.size() && !entry.empty() && entry.back() == ' ') {
            entry.pop_back();
        }
        entry = " to" + entry;
    }
    verbs.ToInfinitives = JoinList(infinitives, '/');
    return verbs;
}

int ChildCount(const RuleTable& table, int p)
{
    return static_cast<int>(SplitList(table.ChildTopicLists[static_cast<std::size_t>(p)], '/').size());
}

const RuleTable& BuiltInRuleTable()
{
    static const RuleTable table = [] {
        RuleTable built;
        BuildRuleTable(built);
        return built;
    }();
    return table;
}

void BuildRuleTable(RuleTable& table)
{
    table.ParentTopicList = std::string(lists::ParentTopicList);
    const std::string_view childLists[kParentCount] = {
        lists::ChildTopics00, lists::ChildTopics01, lists::ChildTopics02, lists::ChildTopics03, lists::ChildTopics04,
        lists::ChildTopics05, lists::ChildTopics06, lists::ChildTopics07, lists::ChildTopics08, lists::ChildTopics09,
        lists::ChildTopics10, lists::ChildTopics11, lists::ChildTopics12, lists::ChildTopics13, lists::ChildTopics14,
        lists::ChildTopics15, lists::ChildTopics16, lists::ChildTopics17, lists::ChildTopics18,
    };
    table.ChildTopicLists.assign(std::begin(childLists), std::end(childLists));
    table.ChildRules.assign(kParentCount, {});
    table.GrandchildLists.assign(kParentCount, {});
    table.GrandchildRules.assign(kParentCount, {});
    for (int p = 0; p < kParentCount; ++p) {
        const int children = ChildCount(table, p);
        table.ChildRules[p].assign(static_cast<std::size_t>(children), "++++");
        table.GrandchildLists[p].assign(static_cast<std::size_t>(children), std::string(kAllTopics));
        table.GrandchildRules[p].assign(static_cast<std::size_t>(children), {});
    }

    const VerbForms verbs = BuildVerbForms();
    BuildClauseRules(table, verbs);
    BuildParticipleRules(table, verbs);
    BuildTenseRules(table, verbs);
    BuildPassiveRules(table, verbs);
    BuildMoodRules(table, verbs);
    BuildPredicateVerbRules(table, verbs);
    BuildNonFiniteRules(table, verbs);
    BuildModalRules(table, verbs);
    BuildNounRules(table);
    BuildArticleRules(table);
    BuildPronounRules(table);
    BuildNumeralRules(table);
    BuildAdjectiveRules(table);
    BuildAdverbRules(table);
    BuildPrepositionRules(table, verbs);
    BuildConjunctionRules(table);
    BuildSentencePatternRules(table, verbs);
}

void InstallGrandchildRules(RuleTable& table, int p, int n, const std::vector<std::string>& lists)
{
    auto& grandchildLists = table.GrandchildLists[static_cast<std::size_t>(p)];
    auto& childRules = table.ChildRules[static_cast<std::size_t>(p)];
    auto& grandchildRules = table.GrandchildRules[static_cast<std::size_t>(p)];
    grandchildLists.resize(static_cast<std::size_t>(n));
    childRules.resize(static_cast<std::size_t>(n));
    grandchildRules.resize(static_cast<std::size_t>(n));
    for (std::size_t c = 0; c < static_cast<std::size_t>(n); ++c) {
        const std::string& words = c < lists.size() ? lists[c] : std::string();
        grandchildLists[c] = words.empty() ? std::string(kAllTopics) : std::string(kAllTopics) + "/" + words;
        childRules[c] = std::string(kGrandsonFilter);
        std::vector<std::string>& rules = grandchildRules[c];
        rules.clear();
        rules.push_back("+" + words + "+++");
        for (const std::string& entry : SplitList(words, '/')) {
            rules.push_back("+" + entry + "+++");
        }
    }
}

int FindParentIndex(const RuleTable& table, std::string_view name)
{
    return IndexIn(table.ParentTopicList, name, false);
}

int FindChildIndex(const RuleTable& table, int p, std::string_view name)
{
    if (!ValidParent(table, p)) {
        return 0;
    }
    return IndexIn(table.ChildTopicLists[static_cast<std::size_t>(p)], name, false);
}

int FindGrandchildIndex(const RuleTable& table, int p, int c, std::string_view name)
{
    if (!ValidChild(table, p, c)) {
        return 0;
    }
    return IndexIn(table.GrandchildLists[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)], name, true);
}

std::string SelectedRuleString(const RuleTable& table, std::string_view selection)
{
    const std::vector<std::string> parts = SplitList(selection, '+');
    auto part = [&parts](std::size_t i) { return i < parts.size() ? std::string_view(parts[i]) : std::string_view(); };
    const int p = FindParentIndex(table, part(0));
    const int c = FindChildIndex(table, p, part(1));
    const int g = FindGrandchildIndex(table, p, c, part(2));
    if (!ValidChild(table, p, c)) {
        return "++++";
    }
    const std::string& rule = table.ChildRules[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)];
    if (rule != kGrandsonFilter) {
        return rule;
    }
    const std::vector<std::string>& rules =
        table.GrandchildRules[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)];
    // A grandchild list longer than its rules would be a builder fault; fall back to the whole list.
    if (static_cast<std::size_t>(g) < rules.size()) {
        return rules[static_cast<std::size_t>(g)];
    }
    return rules.empty() ? std::string("++++") : rules.front();
}

TopicRule SelectRule(const RuleTable& table, std::string_view selection)
{
    // Compiled here because a search matches the selected rule against every sentence it visits.
    TopicRule rule = ParseTopicRule(SelectedRuleString(table, selection));
    CompileRule(rule);
    return rule;
}

GrandchildCombo FillGrandchildCombo(const RuleTable& table, int p, int c, std::string_view wanted)
{
    GrandchildCombo combo;
    if (!ValidChild(table, p, c)) {
        return combo;
    }
    const std::string& list = table.GrandchildLists[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)];
    if (list.empty()) {
        return combo;
    }
    int remembered = -1;
    for (const std::string& entry : SplitList(list, '/')) {
        combo.names.emplace_back(TrimOneBlank(entry));
        if (remembered < 0 && combo.names.back() == wanted) {
            remembered = static_cast<int>(combo.names.size()) - 1;
        }
    }
    combo.selected = wanted.empty() || remembered < 0 ? 0 : remembered;
    return combo;
}

} // namespace lectoria::grammar
