#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lectoria::grammar {
struct RuleTable;
}

namespace lectoria::analysis {

/// Every topic selection that a search can take, in tree order: "parent+child" where a child has no
/// grandchildren, else "parent+child+grandchild" for each grandchild; "所有" entries left out.
std::vector<std::string> SelectableTopics(const grammar::RuleTable& table);

/// A rule-table topic that matches a sentence, with the words its rule matched.
struct RuleTopic
{
    std::string selection;
    std::string matchedWords;
};

/// The topics whose rules match `sentence` (as written; lower-cased here), in tree order.
std::vector<RuleTopic> RuleTopicsOf(const grammar::RuleTable& table, std::string_view sentence);

} // namespace lectoria::analysis
