#pragma once

#include <string>

#include "grammar/RuleTable.h"

namespace lectoria::grammar {

/// One class of verbs as parallel '/'-lists: entry k of the first four lists belongs to verb k;
/// participle j belongs to every verb whose base equals participleOwners entry j, blanks included.
struct VerbClass
{
    std::string bases;
    std::string pasts;
    std::string thirdPersons;
    std::string ingForms;
    std::string participles;
    std::string participleOwners;
};

/// Writes the grandchild rules of one verb-class child: grandchild 0 finds any form of the class,
/// grandchild k + 1 any form of verb k. Overwrites the rules by position.
void InstallVerbFormRules(RuleTable& table, int parent, int child, const VerbClass& verbClass);

} // namespace lectoria::grammar
