#include "Census.h"

#include <filesystem>
#include <ostream>

#include "Cli.h"
#include "CliChecks.h"
#include "grammar/RuleTable.h"
#include "grammar/TopicTableMatcher.h"
#include "search/TopicCensus.h"

namespace lectoria::cli {

int Census(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto fail = [&err](const std::string& message) {
        err << "lectoria-cli: " << message << '\n';
        return kUsageError;
    };
    std::string root;
    std::string books;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* target = nullptr;
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        if (const std::size_t equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            hasValue = true;
        }
        if (name == "--root") {
            target = &root;
        } else if (name == "--books") {
            target = &books;
        } else {
            return fail("census takes only --root ROOT and --books \"BOOK/BOOK\", not '" + arg + "'");
        }
        if (!hasValue) {
            if (i + 1 == args.size()) {
                return fail("option '" + name + "' needs a value");
            }
            value = args[++i];
        }
        *target = value;
    }
    if (root.empty()) {
        return fail("census needs --root ROOT, the library folder that holds the books");
    }
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(root), error)) {
        return fail("cannot read library root '" + root + "'");
    }
    if (books.empty()) {
        return fail("choose one or more books with --books \"BOOK/BOOK\"");
    }
    if (const std::string problem = CheckBooks(root, books); !problem.empty()) {
        return fail(problem);
    }
    grammar::RuleTable table;
    grammar::BuildRuleTable(table);
    const grammar::TopicTableMatcher matcher(table);
    const std::vector<std::uint64_t> counts = search::RunTopicCensus(matcher, root, books);
    for (std::size_t t = 0; t < matcher.Topics().size(); ++t) {
        out << matcher.Topics()[t] << '\t' << counts[t] << '\n';
    }
    return 0;
}

} // namespace lectoria::cli
