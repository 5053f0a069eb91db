#include "ProgramParser.h"

#include "LinkGrammarParser.h"

namespace lectoria::platform {

std::shared_ptr<analysis::ParserDesk> ProgramParserDesk(std::string& error)
{
    return analysis::SharedParserDesk(
        [](std::string& why) -> std::unique_ptr<analysis::IParser> {
            auto parser = std::make_unique<LinkGrammarParser>();
            if (!parser->IsReady()) {
                why = parser->Error();
                return nullptr;
            }
            return parser;
        },
        error);
}

} // namespace lectoria::platform
