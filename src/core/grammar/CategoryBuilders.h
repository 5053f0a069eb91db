#pragma once

#include "grammar/RuleTable.h"

namespace lectoria::grammar {

// Each category builder writes the rules of its own parent only, taking the child count from
// the parent's child list; BuildRuleTable runs them once in a fixed order.

void BuildClauseRules(RuleTable& table, const VerbForms& verbs);          ///< 从句
void BuildParticipleRules(RuleTable& table, const VerbForms& verbs);      ///< 分词结构
void BuildTenseRules(RuleTable& table, const VerbForms& verbs);           ///< 时态
void BuildPassiveRules(RuleTable& table, const VerbForms& verbs);         ///< 语态
void BuildMoodRules(RuleTable& table, const VerbForms& verbs);            ///< 语气
void BuildPredicateVerbRules(RuleTable& table, const VerbForms& verbs);   ///< 谓语动词
void BuildNonFiniteRules(RuleTable& table, const VerbForms& verbs);       ///< 非谓动词
void BuildModalRules(RuleTable& table, const VerbForms& verbs);           ///< 情态动词
void BuildNounRules(RuleTable& table);                                    ///< 名词
void BuildArticleRules(RuleTable& table);                                 ///< 冠词
void BuildPronounRules(RuleTable& table);                                 ///< 代词
void BuildNumeralRules(RuleTable& table);                                 ///< 数词
void BuildAdjectiveRules(RuleTable& table);                               ///< 形容词
void BuildAdverbRules(RuleTable& table);                                  ///< 副词
void BuildPrepositionRules(RuleTable& table, const VerbForms& verbs);     ///< 介词
void BuildConjunctionRules(RuleTable& table);                             ///< 连词
void BuildSentencePatternRules(RuleTable& table, const VerbForms& verbs); ///< 句型

/// Parent indices of the topic tree.
enum ParentTopic : int
{
    kParentAll = 0,
    kParentSentencePatterns = 1,
    kParentClauses = 2,
    kParentParticiples = 3,
    kParentTenses = 4,
    kParentVoice = 5,
    kParentMood = 6,
    kParentPredicateVerbs = 7,
    kParentNonFinite = 8,
    kParentModals = 9,
    kParentNouns = 10,
    kParentArticles = 11,
    kParentPronouns = 12,
    kParentNumerals = 13,
    kParentAdjectives = 14,
    kParentAdverbs = 15,
    kParentPrepositions = 16,
    kParentConjunctions = 17,
    kParentInterjections = 18,
};

/// The number of children of parent p.
int ChildCount(const RuleTable& table, int p);

} // namespace lectoria::grammar
