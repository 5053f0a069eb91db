#include "analysis/RuleTopics.h"

#include <map>
#include <mutex>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

namespace lectoria::analysis {

std::vector<std::string> SelectableTopics(const grammar::RuleTable& table)
{
    std::vector<std::string> topics;
    const std::vector<std::string> parents = grammar::SplitList(table.ParentTopicList, '/');
    for (std::size_t p = 0; p < parents.size(); ++p) {
        if (parents[p] == grammar::kAllTopics) {
            continue;
        }
        const std::vector<std::string> children = grammar::SplitList(table.ChildTopicLists[p], '/');
        for (std::size_t c = 0; c < children.size(); ++c) {
            if (children[c] == grammar::kAllTopics) {
                continue;
            }
            const std::string selection = parents[p] + "+" + children[c];
            const grammar::GrandchildCombo combo =
                grammar::FillGrandchildCombo(table, static_cast<int>(p), static_cast<int>(c), "");
            if (combo.names.size() <= 1) {
                topics.push_back(selection);
                continue;
            }
            for (const std::string& grandchild : combo.names) {
                if (grandchild != grammar::kAllTopics) {
                    topics.push_back(selection + "+" + grandchild);
                }
            }
        }
    }
    return topics;
}

namespace {

struct CompiledTopics
{
    std::vector<std::string> selections;
    std::vector<grammar::TopicRule> rules;
};

// The rules compiled once per table: compiling every topic costs far more than matching them.
const CompiledTopics& CompiledFor(const grammar::RuleTable& table)
{
    static std::mutex mutex;
    static std::map<const grammar::RuleTable*, CompiledTopics> compiled;
    const std::lock_guard lock(mutex);
    auto found = compiled.find(&table);
    if (found == compiled.end()) {
        CompiledTopics topics;
        topics.selections = SelectableTopics(table);
        for (const std::string& selection : topics.selections) {
            grammar::TopicRule rule = grammar::SelectRule(table, selection);
            grammar::UseMatchEngine(rule, grammar::MatchEngine::Fast);
            topics.rules.push_back(std::move(rule));
        }
        found = compiled.emplace(&table, std::move(topics)).first;
    }
    return found->second;
}

} // namespace

std::vector<RuleTopic> RuleTopicsOf(const grammar::RuleTable& table, std::string_view sentence)
{
    const CompiledTopics& topics = CompiledFor(table);
    const std::string lower = grammar::ToLowerAscii(sentence);
    std::vector<RuleTopic> found;
    for (std::size_t i = 0; i < topics.rules.size(); ++i) {
        grammar::MatchResult result = grammar::MatchRule(topics.rules[i], lower);
        if (result.verdict) {
            found.push_back({topics.selections[i], std::move(result.matchedWords)});
        }
    }
    return found;
}

} // namespace lectoria::analysis
