// Precision and recall of the parser's findings and of the rule table's topics, per tense, voice and
// clause topic, on the labelled sentence set. Prints a table; takes the set's path as an optional
// argument.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "LinkGrammarParser.h"
#include "analysis/Analysis.h"
#include "analysis/RuleTopics.h"
#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"

namespace {

using namespace lectoria;

bool Measured(const std::string& topic)
{
    return topic.rfind("时态+", 0) == 0 || topic.rfind("语态+", 0) == 0 || topic.rfind("从句+", 0) == 0;
}

struct Counts
{
    int truePositive = 0;
    int falsePositive = 0;
    int falseNegative = 0;
};

void Tally(std::map<std::string, Counts>& counts, const std::set<std::string>& gold, const std::set<std::string>& found)
{
    for (const std::string& topic : found) {
        (gold.count(topic) ? counts[topic].truePositive : counts[topic].falsePositive)++;
    }
    for (const std::string& topic : gold) {
        if (!found.count(topic)) {
            counts[topic].falseNegative++;
        }
    }
}

std::string Percent(int part, int whole)
{
    if (whole == 0) {
        return "    -";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%5.1f", 100.0 * part / whole);
    return text;
}

void Row(const std::string& name, const Counts& parser, const Counts& rules)
{
    std::cout << Percent(parser.truePositive, parser.truePositive + parser.falsePositive) << ' '
              << Percent(parser.truePositive, parser.truePositive + parser.falseNegative) << "   "
              << Percent(rules.truePositive, rules.truePositive + rules.falsePositive) << ' '
              << Percent(rules.truePositive, rules.truePositive + rules.falseNegative) << "   "
              << parser.truePositive + parser.falseNegative << "  " << name << '\n';
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string path = argc > 1 ? argv[1] : LECTORIA_LABELLED_SENTENCES;
    std::ifstream file(path);
    if (!file) {
        std::cerr << "cannot read " << path << '\n';
        return 2;
    }
    grammar::RuleTable table;
    grammar::BuildRuleTable(table);
    const grammar::TopicTableMatcher matcher(table);
    platform::LinkGrammarParser parser;
    if (!parser.IsReady()) {
        std::cerr << parser.Error() << '\n';
        return 2;
    }
    const bool verbose = argc > 2 && std::string(argv[2]) == "--misses";
    std::map<std::string, Counts> parserCounts;
    std::map<std::string, Counts> ruleCounts;
    int sentences = 0;
    int unparsed = 0;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t tab = line.find('\t');
        const std::string sentence = line.substr(0, tab);
        std::set<std::string> gold;
        if (tab != std::string::npos) {
            for (const std::string& topic : grammar::SplitList(line.substr(tab + 1), '/')) {
                if (!topic.empty()) {
                    gold.insert(topic);
                }
            }
        }
        ++sentences;
        std::set<std::string> byParser;
        const analysis::ParserAnalysis analysed = analysis::AnalyseByParser(parser, sentence);
        if (analysed.status != analysis::ParseStatus::Complete) {
            ++unparsed;
        }
        for (const analysis::Finding& finding : analysed.findings) {
            if (Measured(finding.topic)) {
                byParser.insert(finding.topic);
            }
        }
        std::set<std::string> byRules;
        for (const analysis::RuleTopic& topic : analysis::RuleTopicsOf(matcher, sentence)) {
            const std::string two = analysis::TwoLevels(topic.selection);
            if (Measured(two)) {
                byRules.insert(two);
            }
        }
        Tally(parserCounts, gold, byParser);
        Tally(ruleCounts, gold, byRules);
        if (verbose && byParser != gold) {
            std::cout << sentence << "\n   want:";
            for (const std::string& topic : gold) {
                std::cout << ' ' << topic;
            }
            std::cout << "\n   got: ";
            for (const std::string& topic : byParser) {
                std::cout << ' ' << topic;
            }
            std::cout << '\n';
        }
    }

    std::cout << sentences << " sentences, " << unparsed << " without a complete parse\n"
              << " parser P/R %    rules P/R %   labelled  topic\n";
    std::map<std::string, Counts> parserGroups;
    std::map<std::string, Counts> ruleGroups;
    std::set<std::string> topics;
    for (const auto& [topic, counts] : parserCounts) {
        topics.insert(topic);
    }
    for (const auto& [topic, counts] : ruleCounts) {
        topics.insert(topic);
    }
    for (const std::string& topic : topics) {
        Row(topic, parserCounts[topic], ruleCounts[topic]);
        const std::string group = topic.substr(0, topic.find('+'));
        for (auto* pair : {&parserGroups, &ruleGroups}) {
            const Counts& counts = pair == &parserGroups ? parserCounts[topic] : ruleCounts[topic];
            Counts& sum = (*pair)[group];
            sum.truePositive += counts.truePositive;
            sum.falsePositive += counts.falsePositive;
            sum.falseNegative += counts.falseNegative;
        }
    }
    std::cout << "all topics of a group together:\n";
    for (const auto& [group, counts] : parserGroups) {
        Row(group, counts, ruleGroups[group]);
    }
    return 0;
}
