#include "LinkGrammarParser.h"

#include <algorithm>

#include <link-grammar/link-includes.h>

namespace lectoria::platform {

struct LinkGrammarParser::State
{
    Dictionary dictionary = nullptr;
    Parse_Options options = nullptr;

    ~State()
    {
        if (options != nullptr) {
            parse_options_delete(options);
        }
        if (dictionary != nullptr) {
            dictionary_delete(dictionary);
        }
    }
};

namespace {

// Sentences past this length take the parser seconds and no learner's sentence is this long.
constexpr std::size_t kMaxSentenceBytes = 600;

} // namespace

LinkGrammarParser::LinkGrammarParser(int maxSeconds, int maxLinkages)
    : m_state(std::make_unique<State>()), m_maxLinkages(maxLinkages)
{
    // The library prints its notes (the locale it falls back to) on standard output, which would
    // mix them into a command's results; the failures it reports reach us as return values.
    lg_error_set_handler([](lg_errinfo*, void*) {}, nullptr);
    m_state->dictionary = dictionary_create_lang("en");
    if (m_state->dictionary == nullptr) {
        m_error = "the Link Grammar English dictionary could not be opened";
        return;
    }
    m_state->options = parse_options_create();
    parse_options_set_verbosity(m_state->options, 0);
    parse_options_set_max_parse_time(m_state->options, maxSeconds);
    parse_options_set_linkage_limit(m_state->options, maxLinkages);
    parse_options_set_min_null_count(m_state->options, 0);
    parse_options_set_max_null_count(m_state->options, 0);
}

LinkGrammarParser::~LinkGrammarParser() = default;

bool LinkGrammarParser::IsReady() const
{
    return m_state->options != nullptr;
}

analysis::ParseResult LinkGrammarParser::Parse(std::string_view sentence)
{
    analysis::ParseResult result;
    if (!IsReady()) {
        result.message = m_error;
        return result;
    }
    // Link Grammar aborts the whole program on a sentence without a word.
    if (std::none_of(sentence.begin(), sentence.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        })) {
        result.status = analysis::ParseStatus::NoCompleteLinkage;
        result.message = "no words to parse";
        return result;
    }
    if (sentence.size() > kMaxSentenceBytes) {
        result.status = analysis::ParseStatus::NoCompleteLinkage;
        result.message = "the sentence is too long to parse";
        return result;
    }
    const std::string text(sentence);
    Sentence parsed = sentence_create(text.c_str(), m_state->dictionary);
    if (parsed == nullptr) {
        result.message = "the sentence could not be read";
        return result;
    }
    const int found = sentence_parse(parsed, m_state->options);
    if (parse_options_timer_expired(m_state->options) || parse_options_resources_exhausted(m_state->options)) {
        result.status = analysis::ParseStatus::TimedOut;
        result.message = "the parse took too long";
    } else if (found <= 0) {
        result.status = analysis::ParseStatus::NoCompleteLinkage;
        result.message = "no complete linkage";
    } else {
        result.status = analysis::ParseStatus::Complete;
        const int count = std::min(found, m_maxLinkages);
        for (int k = 0; k < count; ++k) {
            Linkage linkage = linkage_create(k, parsed, m_state->options);
            if (linkage == nullptr) {
                continue;
            }
            analysis::Linkage out;
            out.cost = linkage_disjunct_cost(linkage);
            for (std::size_t w = 0; w < linkage_get_num_words(linkage); ++w) {
                out.words.emplace_back(linkage_get_word(linkage, w));
            }
            for (std::size_t l = 0; l < linkage_get_num_links(linkage); ++l) {
                out.links.push_back({static_cast<int>(linkage_get_link_lword(linkage, l)),
                                     static_cast<int>(linkage_get_link_rword(linkage, l)),
                                     linkage_get_link_label(linkage, l)});
            }
            linkage_delete(linkage);
            result.linkages.push_back(std::move(out));
        }
        if (result.linkages.empty()) {
            result.status = analysis::ParseStatus::NoCompleteLinkage;
            result.message = "no complete linkage";
        }
    }
    sentence_delete(parsed);
    return result;
}

std::unique_ptr<analysis::IParser> LinkGrammarParser::Open(std::string& error)
{
    auto parser = std::make_unique<LinkGrammarParser>();
    if (!parser->IsReady()) {
        error = parser->Error();
        return nullptr;
    }
    return parser;
}

} // namespace lectoria::platform
