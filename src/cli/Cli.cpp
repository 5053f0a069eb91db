#include "Cli.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <ostream>

#include "Analyse.h"
#include "Census.h"
#include "Stretch.h"
#include "CliChecks.h"
#include "ImportCommand.h"
#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"
#include "grammar/WordListData.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"
#include "search/TopicSearch.h"
#include "settings/Settings.h"

namespace lectoria::cli {

namespace {

constexpr const char* kUsage =
    "Usage: lectoria-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  normalize [SENTENCE]            print the normalised token text of SENTENCE\n"
    "                                  (without SENTENCE: one line per input line)\n"
    "  match --rule RULE [SENTENCE]    lower-case SENTENCE, evaluate RULE on it and print\n"
    "                                  'true' or 'false', a tab and the matched words\n"
    "                                  (without SENTENCE: one line per input line)\n"
    "  match --topic SELECTION [SENTENCE]\n"
    "                                  the same with the rule of a grammar topic such as\n"
    "                                  \"时态+现在完成时\"\n"
    "        [--engine plain|fast]     match with the entry-by-entry reference matcher or\n"
    "                                  the compiled one (default fast); both give the same\n"
    "                                  results\n"
    "  rules                           print every selectable topic, a tab and its rule\n"
    "  rule SELECTION                  print the rule a topic selection takes\n"
    "  wordlist NAME                   print a built-in word list, '/'-joined\n"
    "  lesson LESSON_DIR               print the lesson's sentence titles in reading order\n"
    "  search --root ROOT --books \"BOOK/BOOK\" [--all WORDS] [--any WORDS]\n"
    "         [--topic SELECTION] [--highlights] [--engine plain|fast]\n"
    "         [--by rules|parser]\n"
    "                                  run a topic search over the chosen books of the\n"
    "                                  library at ROOT and print each sentence found as\n"
    "                                  book\\lesson\\title, in search order; all of the\n"
    "                                  '/'-joined --all WORDS and one of the --any WORDS\n"
    "                                  must occur; SELECTION defaults to \"所有+所有+所有\";\n"
    "                                  --highlights adds a tab and the highlight patterns;\n"
    "                                  --by parser decides the topics the parser covers\n"
    "                                  by its findings (kept in a cache in the data folder)\n"
    "  census --root ROOT --books \"BOOK/BOOK\"\n"
    "                                  print every selectable topic, a tab and how many\n"
    "                                  sentences of the books a search for it finds\n"
    "  analyse [--by rules|parser|both] [SENTENCE]\n"
    "                                  print the grammar of SENTENCE, one line per finding:\n"
    "                                  'rules' or 'parser', a tab, the topic, a tab and the\n"
    "                                  words that show it (default both; without SENTENCE:\n"
    "                                  one per input line, an empty line between sentences)\n"
    "  scramble IN OUT                 write IN XOR 0xA6 to OUT (scrambles and unscrambles)\n"
    "  stretch IN OUT --speed SPEED    write the sentence IN (.sau, or plain audio) to the\n"
    "                                  WAV file OUT read at SPEED (0.5 to 1.5) times its\n"
    "                                  pace with its pitch kept; prints OUT, a tab, the\n"
    "                                  input's and a tab and the output's length in seconds\n" LECTORIA_IMPORT_USAGE
    "  --help                          show this text\n"
    "\n"
    "Titles print on one line: line breaks, tabs and other control characters are\n"
    "written as \\n, \\t, \\xHH.\n"
    "Exit status: 0 done; 1 the output could not be written; 2 a bad argument, an\n"
    "unknown topic or book (the message names the nearest ones), or a file or folder\n"
    "that cannot be read or written; import exits 1 when the import fails.\n";

/// Parsed arguments: options with a value ("--rule X" or "--rule=X") and plain operands.
struct Arguments
{
    std::map<std::string, std::string> options;
    std::vector<std::string> operands;
};

struct Context
{
    std::istream& in;
    std::ostream& out;
    std::ostream& err;

    int Fail(const std::string& message) const
    {
        err << "lectoria-cli: " << message << '\n';
        return kUsageError;
    }
};

std::optional<Arguments> ParseArguments(const std::vector<std::string>& args, std::size_t first,
                                        const std::vector<std::string>& valueOptions, const Context& context)
{
    Arguments parsed;
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() > 2 && arg.rfind("--", 0) == 0) {
            const std::size_t equals = arg.find('=');
            const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            bool known = false;
            for (const std::string& option : valueOptions) {
                known = known || option == name;
            }
            if (!known) {
                context.Fail("unknown option '" + arg + "' (see --help)");
                return std::nullopt;
            }
            if (equals != std::string::npos) {
                parsed.options[name] = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                parsed.options[name] = args[++i];
            } else {
                context.Fail("option '--" + name + "' needs a value");
                return std::nullopt;
            }
        } else {
            parsed.operands.push_back(arg);
        }
    }
    return parsed;
}

// Applies `line` to the single operand, or to every line of standard input when there is none.
int ForEachSentence(const Arguments& arguments, const Context& context,
                    const std::function<void(const std::string&)>& line)
{
    if (arguments.operands.size() > 1) {
        return context.Fail("too many arguments (quote the sentence)");
    }
    if (arguments.operands.size() == 1) {
        line(arguments.operands.front());
        return 0;
    }
    std::string input;
    while (std::getline(context.in, input)) {
        if (!input.empty() && input.back() == '\r') {
            input.pop_back();
        }
        line(input);
    }
    return 0;
}

int Normalize(const std::vector<std::string>& args, const Context& context)
{
    const std::optional<Arguments> arguments = ParseArguments(args, 1, {}, context);
    if (!arguments) {
        return kUsageError;
    }
    return ForEachSentence(*arguments, context, [&context](const std::string& sentence) {
        context.out << grammar::NormalizeSentence(sentence) << '\n';
    });
}

const grammar::RuleTable& BuiltRuleTable()
{
    return lectoria::grammar::BuiltInRuleTable();
}

// "--engine plain|fast", fast when absent.
std::optional<grammar::MatchEngine> ParseEngine(const Arguments& arguments, const Context& context)
{
    const auto engine = arguments.options.find("engine");
    if (engine == arguments.options.end() || engine->second == "fast") {
        return grammar::MatchEngine::Fast;
    }
    if (engine->second == "plain") {
        return grammar::MatchEngine::Plain;
    }
    context.Fail("--engine takes 'plain' or 'fast', not '" + engine->second + "'");
    return std::nullopt;
}

int Match(const std::vector<std::string>& args, const Context& context)
{
    const std::optional<Arguments> arguments = ParseArguments(args, 1, {"rule", "topic", "engine"}, context);
    if (!arguments) {
        return kUsageError;
    }
    const auto rule = arguments->options.find("rule");
    const auto topic = arguments->options.find("topic");
    if ((rule == arguments->options.end()) == (topic == arguments->options.end())) {
        return context.Fail("match needs either --rule RULE or --topic SELECTION");
    }
    const std::optional<grammar::MatchEngine> engine = ParseEngine(*arguments, context);
    if (!engine) {
        return kUsageError;
    }
    if (topic != arguments->options.end()) {
        if (const std::string problem = CheckTopicSelection(BuiltRuleTable(), topic->second); !problem.empty()) {
            return context.Fail(problem);
        }
    }
    grammar::TopicRule topicRule = rule != arguments->options.end()
                                       ? grammar::ParseTopicRule(rule->second)
                                       : grammar::SelectRule(BuiltRuleTable(), topic->second);
    grammar::UseMatchEngine(topicRule, *engine);
    return ForEachSentence(*arguments, context, [&](const std::string& sentence) {
        const grammar::MatchResult result = grammar::MatchRule(topicRule, grammar::ToLowerAscii(sentence));
        context.out << (result.verdict ? "true" : "false") << '\t' << result.matchedWords << '\n';
    });
}

int Lesson(const std::vector<std::string>& args, const Context& context)
{
    const std::optional<Arguments> arguments = ParseArguments(args, 1, {}, context);
    if (!arguments) {
        return kUsageError;
    }
    if (arguments->operands.size() != 1) {
        return context.Fail("lesson needs exactly one LESSON_DIR");
    }
    const std::string& lessonDir = arguments->operands.front();
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(lessonDir), error)) {
        return context.Fail("cannot read lesson folder '" + lessonDir + "'");
    }
    if (const std::string problem = FolderProblem(lessonDir); !problem.empty()) {
        return context.Fail("cannot read lesson folder '" + lessonDir + "': " + problem);
    }
    std::string path = lessonDir;
    while (path.size() > 1 && path.back() == library::kPathSeparator) {
        path.pop_back();
    }
    for (const std::string& title : library::FillLessonList(path)) {
        context.out << OneLine(title) << '\n';
    }
    return 0;
}

int Rules(const std::vector<std::string>& args, const Context& context)
{
    if (args.size() != 1) {
        return context.Fail("rules takes no arguments");
    }
    const grammar::RuleTable& table = BuiltRuleTable();
    const std::vector<std::string> parents = grammar::SplitList(table.ParentTopicList, '/');
    for (std::size_t p = 0; p < parents.size(); ++p) {
        const std::vector<std::string> children = grammar::SplitList(table.ChildTopicLists[p], '/');
        for (std::size_t c = 0; c < children.size(); ++c) {
            const std::string selection = parents[p] + "+" + children[c];
            const grammar::GrandchildCombo combo =
                grammar::FillGrandchildCombo(table, static_cast<int>(p), static_cast<int>(c), "");
            if (combo.names.size() <= 1) {
                context.out << selection << '\t' << grammar::SelectedRuleString(table, selection) << '\n';
                continue;
            }
            for (const std::string& grandchild : combo.names) {
                const std::string full = selection + "+" + grandchild;
                context.out << full << '\t' << grammar::SelectedRuleString(table, full) << '\n';
            }
        }
    }
    return 0;
}

int Rule(const std::vector<std::string>& args, const Context& context)
{
    if (args.size() != 2) {
        return context.Fail("rule needs exactly one SELECTION");
    }
    if (const std::string problem = CheckTopicSelection(BuiltRuleTable(), args[1]); !problem.empty()) {
        return context.Fail(problem);
    }
    context.out << grammar::SelectedRuleString(BuiltRuleTable(), args[1]) << '\n';
    return 0;
}

int WordList(const std::vector<std::string>& args, const Context& context)
{
    if (args.size() != 2) {
        return context.Fail("wordlist needs exactly one NAME");
    }
    const std::string& name = args[1];
    for (const auto& [listName, list] : grammar::lists::kAllLists) {
        if (listName == name) {
            context.out << list << '\n';
            return 0;
        }
    }
    const grammar::VerbForms verbs = grammar::BuildVerbForms();
    const std::map<std::string, const std::string*> derived = {
        {"ToInfinitives", &verbs.ToInfinitives},
        {"EdRemovals", &verbs.EdRemovals},
    };
    const auto found = derived.find(name);
    if (found == derived.end()) {
        return context.Fail("no built-in list named '" + name + "'");
    }
    context.out << *found->second << '\n';
    return 0;
}

int Scramble(const std::vector<std::string>& args, const Context& context)
{
    const std::optional<Arguments> arguments = ParseArguments(args, 1, {}, context);
    if (!arguments) {
        return kUsageError;
    }
    if (arguments->operands.size() != 2) {
        return context.Fail("scramble needs IN and OUT");
    }
    if (const std::string problem = ScrambleSafely(arguments->operands[0], arguments->operands[1]); !problem.empty()) {
        return context.Fail(problem);
    }
    return 0;
}

int Search(const std::vector<std::string>& args, const Context& context)
{
    // "--highlights" is a switch, while ParseArguments knows only options that carry a value.
    std::vector<std::string> valueArgs;
    bool withHighlights = false;
    for (const std::string& arg : args) {
        if (arg == "--highlights") {
            withHighlights = true;
        } else {
            valueArgs.push_back(arg);
        }
    }
    const std::optional<Arguments> arguments =
        ParseArguments(valueArgs, 1, {"root", "books", "all", "any", "topic", "engine", "by"}, context);
    if (!arguments) {
        return kUsageError;
    }
    if (!arguments->operands.empty()) {
        return context.Fail("search takes no operands (quote the book list)");
    }
    const auto option = [&arguments](const std::string& name, const std::string& fallback) {
        const auto found = arguments->options.find(name);
        return found == arguments->options.end() ? fallback : found->second;
    };
    const std::string root = option("root", "");
    if (root.empty()) {
        return context.Fail("search needs --root ROOT, the library folder that holds the books");
    }
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(root), error)) {
        return context.Fail("cannot read library root '" + root + "'");
    }
    search::SearchRequest request;
    request.strSubjectBook = option("books", "");
    if (request.strSubjectBook.empty()) {
        return context.Fail("choose one or more books with --books \"BOOK/BOOK\"");
    }
    if (const std::string problem = CheckBooks(root, request.strSubjectBook); !problem.empty()) {
        return context.Fail(problem);
    }
    // Only the library root of the path counts; the default lesson gives it its two last parts.
    request.strFullPath = (std::filesystem::path(root) / library::NativeRelativePath(library::kDefaultLesson)).string();
    request.allText = option("all", "");
    request.anyText = option("any", "");
    request.strSubjectGrammar = option("topic", lectoria::settings::kDefaultSubjectGrammar);
    if (const std::string problem = CheckTopicSelection(BuiltRuleTable(), request.strSubjectGrammar);
        !problem.empty()) {
        return context.Fail(problem);
    }
    const std::optional<grammar::MatchEngine> engine = ParseEngine(*arguments, context);
    if (!engine) {
        return kUsageError;
    }
    request.engine = *engine;
    if (const std::string by = option("by", "rules"); by == "parser") {
        std::string problem;
        request.topicMatcher = ParserTopicMatcher(request.strSubjectGrammar, problem);
        if (!problem.empty()) {
            context.err << "lectoria-cli: " << problem << "; the word-list rules decide instead\n";
        }
    } else if (by != "rules") {
        return context.Fail("--by takes 'rules' or 'parser', not '" + by + "'");
    }
    const search::SearchResults results = search::RunTopicSearch(BuiltRuleTable(), request);
    for (std::size_t i = 0; i < results.size(); ++i) {
        context.out << OneLine(results.Item(i));
        if (withHighlights) {
            context.out << '\t' << OneLine(results.Highlight(i));
        }
        context.out << '\n';
    }
    return 0;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const Context context{in, out, err};
    if (args.empty()) {
        err << kUsage;
        return kUsageError;
    }
    const std::string& command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return 0;
    }
    if (command == "import") {
        return RunImportCommand(args, out, err);
    }
    using Command = int (*)(const std::vector<std::string>&, const Context&);
    static const std::map<std::string, Command> commands = {
        {"normalize", Normalize},
        {"match", Match},
        {"lesson", Lesson},
        {"scramble", Scramble},
        {"rules", Rules},
        {"rule", Rule},
        {"wordlist", WordList},
        {"search", Search},
        {"census", [](const std::vector<std::string>& a, const Context& c) { return Census(a, c.out, c.err); }},
        {"stretch", [](const std::vector<std::string>& a, const Context& c) { return Stretch(a, c.out, c.err); }},
        {"analyse", [](const std::vector<std::string>& a,
                       const Context& c) { return Analyse(a, c.in, c.out, c.err, BuiltRuleTable()); }},
    };
    const auto found = commands.find(command);
    if (found == commands.end()) {
        return context.Fail("unknown command '" + command + "' (see --help)");
    }
    const int status = found->second(args, context);
    // Output that never arrived is a failure, whatever the command itself thought.
    errno = 0;
    if (!out.flush()) {
        const int error = errno;
        err << "lectoria-cli: cannot write the output" << (error != 0 ? std::string(": ") + std::strerror(error) : "")
            << '\n';
        return status != 0 ? status : kOutputError;
    }
    return status;
}

} // namespace lectoria::cli
