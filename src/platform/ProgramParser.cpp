#include "ProgramParser.h"

#include "LinkGrammarParser.h"

namespace lectoria::platform {

std::shared_ptr<analysis::ParserDesk> ProgramParserDesk(std::string& error)
{
    return analysis::SharedParserDesk(&LinkGrammarParser::Open, error);
}

} // namespace lectoria::platform
