#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/RuleTable.h"

namespace lectoria::grammar {

// Helpers every category builder shares, so that the rule strings they compose are put
// together one way only.

/// Joins the pieces in order, without a separator: list constants and literals glued into one
/// field or list.
std::string Concat(std::initializer_list<std::string_view> pieces);

/// The rule string "allOf+anyOf+noneOf+anyAfter+erase".
std::string ComposeRule(std::string_view allOf, std::string_view anyOf, std::string_view noneOf,
                        std::string_view anyAfter, std::string_view erase);

/// `text` with every occurrence of `from` replaced as ReplaceAll replaces it, for builders that
/// derive one word list from another.
std::string WithAllReplaced(std::string text, std::string_view from, std::string_view to);

/// Installs one word list per child of parent p in child order through InstallGrandchildRules.
/// The child count comes from the topic tree: children without a list get an empty one, lists
/// beyond the last child are dropped. Returns the lists as installed.
std::vector<std::string> InstallWordLists(RuleTable& table, int p, std::span<const std::string_view> wordLists);

} // namespace lectoria::grammar
