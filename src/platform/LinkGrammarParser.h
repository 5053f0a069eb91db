#pragma once

#include <memory>
#include <string>

#include "analysis/Parse.h"

namespace lectoria::platform {

/// The Link Grammar parser with its English dictionary behind the core's parser interface; each
/// parse is limited in time and in the number of readings kept. Not for use from two threads at once.
class LinkGrammarParser : public analysis::IParser
{
public:
    /// `maxSeconds` bounds one parse; Link Grammar counts whole seconds.
    explicit LinkGrammarParser(int maxSeconds = 3, int maxLinkages = 20);
    ~LinkGrammarParser() override;
    LinkGrammarParser(const LinkGrammarParser&) = delete;
    LinkGrammarParser& operator=(const LinkGrammarParser&) = delete;

    /// False when the dictionary could not be opened; every parse then fails with `Error()`.
    bool IsReady() const;
    const std::string& Error() const { return m_error; }

    analysis::ParseResult Parse(std::string_view sentence) override;

    /// A parser whose dictionary is open; null, with `error`, when it cannot be opened.
    static std::unique_ptr<analysis::IParser> Open(std::string& error);

private:
    struct State;
    std::unique_ptr<State> m_state;
    std::string m_error;
    int m_maxLinkages;
};

} // namespace lectoria::platform
