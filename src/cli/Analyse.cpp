#include "Analyse.h"

#include <istream>
#include <memory>
#include <optional>
#include <ostream>

#include "CliChecks.h"
#include "LinkGrammarParser.h"
#include "ProgramParser.h"
#include "analysis/Analysis.h"
#include "analysis/ParseCache.h"
#include "analysis/ParserSearch.h"
#include "analysis/RuleTopics.h"
#include "grammar/RuleTable.h"
#include "library/Library.h"

namespace lectoria::cli {

namespace {

enum class Source
{
    Rules,
    Parser,
    Both,
};

std::optional<Source> SourceNamed(const std::string& name)
{
    if (name == "rules") {
        return Source::Rules;
    }
    if (name == "parser") {
        return Source::Parser;
    }
    if (name == "both") {
        return Source::Both;
    }
    return std::nullopt;
}

// Compiling every rule of the table costs more than matching one sentence, so it is done only
// when a sentence asks the rules and then kept for the other sentences.
class RulesAnswer
{
public:
    explicit RulesAnswer(const grammar::RuleTable& table) : m_table(table) {}
    void Print(const std::string& sentence, std::ostream& out);

private:
    const grammar::RuleTable& m_table;
    std::optional<grammar::TopicTableMatcher> m_matcher;
};

void RulesAnswer::Print(const std::string& sentence, std::ostream& out)
{
    if (!m_matcher) {
        m_matcher.emplace(m_table);
    }
    for (const analysis::RuleTopic& topic : analysis::RuleTopicsOf(*m_matcher, sentence)) {
        out << "rules\t" << OneLine(topic.selection) << '\t' << OneLine(topic.matchedWords) << '\n';
    }
}

} // namespace

int Analyse(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
            const grammar::RuleTable& table)
{
    const auto fail = [&err](const std::string& message) {
        err << "lectoria-cli: " << message << '\n';
        return 2;
    };
    Source source = Source::Both;
    std::vector<std::string> operands;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string by;
        if (args[i] == "--by") {
            if (i + 1 == args.size()) {
                return fail("option '--by' needs a value");
            }
            by = args[++i];
        } else if (args[i].rfind("--by=", 0) == 0) {
            by = args[i].substr(5);
        } else if (args[i].size() > 2 && args[i].rfind("--", 0) == 0) {
            return fail("unknown option '" + args[i] + "' (see --help)");
        } else {
            operands.push_back(args[i]);
            continue;
        }
        const std::optional<Source> named = SourceNamed(by);
        if (!named) {
            return fail("--by takes 'rules', 'parser' or 'both', not '" + by + "'");
        }
        source = *named;
    }
    if (operands.size() > 1) {
        return fail("too many arguments (quote the sentence)");
    }

    std::unique_ptr<platform::LinkGrammarParser> parser;
    if (source != Source::Rules) {
        parser = std::make_unique<platform::LinkGrammarParser>();
        if (!parser->IsReady()) {
            err << "lectoria-cli: " << parser->Error() << "; the word-list rules answer alone\n";
            parser.reset();
        }
    }
    RulesAnswer rules(table);
    const auto analyse = [&](const std::string& sentence) {
        // A blank line is no sentence, though some rules would match its emptiness.
        if (sentence.find_first_not_of(" \t") == std::string::npos) {
            return;
        }
        bool rulesDone = false;
        if (source != Source::Rules && parser) {
            const analysis::ParserAnalysis result = analysis::AnalyseByParser(*parser, sentence);
            if (result.status == analysis::ParseStatus::Complete) {
                for (const analysis::Finding& finding : result.findings) {
                    out << "parser\t" << finding.topic << '\t' << OneLine(finding.words) << '\n';
                }
            } else {
                err << "lectoria-cli: the parser found no reading of \"" << OneLine(sentence) << "\" ("
                    << result.message << ")" << (source == Source::Parser ? "; the word-list rules answer instead" : "")
                    << '\n';
                if (source == Source::Parser) {
                    rules.Print(sentence, out);
                    rulesDone = true;
                }
            }
        } else if (source == Source::Parser) {
            rules.Print(sentence, out);
            rulesDone = true;
        }
        if (source != Source::Parser && !rulesDone) {
            rules.Print(sentence, out);
        }
    };

    if (operands.size() == 1) {
        analyse(operands.front());
        return 0;
    }
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!first) {
            out << '\n';
        }
        first = false;
        analyse(line);
    }
    return 0;
}

analysis::TopicMatcher ParserTopicMatcher(const std::string& selection, std::string& error)
{
    if (!analysis::ParserCovers(selection)) {
        return {};
    }
    return analysis::ParserTopicMatcher(platform::ProgramParserDesk(error), selection);
}

} // namespace lectoria::cli
