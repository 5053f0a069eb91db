#include "ProgramParser.h"

#include <mutex>

#include "LinkGrammarParser.h"

namespace lectoria::platform {

std::shared_ptr<analysis::ParserDesk> ProgramParserDesk(std::string& error)
{
    static std::mutex mutex;
    static std::shared_ptr<analysis::ParserDesk> desk;
    const std::lock_guard lock(mutex);
    if (desk) {
        return desk;
    }
    auto parser = std::make_unique<LinkGrammarParser>();
    if (!parser->IsReady()) {
        error = parser->Error();
        return nullptr;
    }
    std::unique_ptr<analysis::ParseCache> cache = analysis::ParseCache::Open(analysis::DefaultParseCachePath(), error);
    if (!cache) {
        return nullptr;
    }
    cache->DropMissing();
    desk = std::make_shared<analysis::ParserDesk>(std::move(parser), std::move(cache));
    return desk;
}

} // namespace lectoria::platform
