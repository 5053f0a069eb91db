#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "grammar/RuleTable.h"
#include "grammar/TextRules.h"
#include "search/GrammarMarks.h"

namespace lectoria::search {

/// The typed topic words, lower-cased, split at '/', and padded with a blank on the side where
/// a piece begins or ends with a letter, so that they match whole words.
struct TopicWords
{
    std::vector<std::string> allWords;
    std::vector<std::string> anyWords;
};

TopicWords PrepareTopicWords(std::string_view allText, std::string_view anyText);

/// Whether a sentence (lower-case, without its number) passes the topic-word filter, and the
/// any-of piece that decided it.
struct TopicWordMatch
{
    bool pass = false;
    std::string_view anyHit; ///< views the piece in the TopicWords tested
};

TopicWordMatch MatchTopicWords(const TopicWords& words, std::string_view sentence);
/// The same on a sentence that NormalizeSentence has already turned into tokens.
TopicWordMatch MatchNormalizedTopicWords(const TopicWords& words, std::string_view normalized);
/// Whether the filter passes every sentence (no piece typed), so a search can skip it.
bool PassesEverySentence(const TopicWords& words);

/// Turns one result's info text (matched words and topic words, '/'-joined) into the patterns the
/// current-sentence pane highlights.
std::string ExpandHighlights(std::string_view info);
void ExpandHighlights(std::vector<std::string>& infos);

/// The all-of part of a stored topic-word pair ("all+any"): before its first '+'; empty when
/// there is no '+'.
std::string AllOfText(std::string_view strSubjectWord);
/// The any-of part: after its last '+'; empty when there is no '+'.
std::string AnyOfText(std::string_view strSubjectWord);

/// The three stored strings of a topic selection, as the topic dialog hands them back.
struct TopicSelection
{
    std::string strSubjectBook;    ///< the chosen books joined by '/'
    std::string strSubjectWord;    ///< "all+any", lower-cased
    std::string strSubjectGrammar; ///< "parent+child", then "+grandchild" when one is given
};

/// Builds the stored selection from what the dialog shows; AllOfText and AnyOfText take the
/// word pair apart again.
TopicSelection ComposeTopicSelection(const std::vector<std::string>& books, std::string_view allText,
                                     std::string_view anyText, std::string_view parent, std::string_view child,
                                     std::string_view grandchild);

/// What one search looks for and where.
struct SearchRequest
{
    std::string strFullPath;       ///< only its library root is used
    std::string strSubjectBook;    ///< '/'-joined book folder names
    std::string allText;           ///< as typed
    std::string anyText;           ///< as typed
    std::string strSubjectGrammar; ///< topic selection string
    /// The compiled matcher, or the plain one it is checked against.
    grammar::MatchEngine engine = grammar::MatchEngine::Fast;
    /// Threads that search lesson folders side by side; 0 takes one per core.
    int threads = 0;
    /// When set, decides the topic instead of the rule (a parser's findings): called with the
    /// lesson folder and the title, from every search thread at once, it returns the verdict and
    /// the words that showed it.
    std::function<grammar::MatchResult(const std::string& lessonPath, const std::string& title)> topicMatcher;
};

/// The folders a search could not read, in one line for a status line or a dialog: empty when
/// there were none, the one message, or the first with how many more there are.
std::string ProblemSummary(const std::vector<std::string>& problems);

/// Called once before the walk with (0, total) and once per lesson folder searched.
using SearchProgress = std::function<void(int done, int total)>;

/// Everything a search found, in the order of books, lesson folders and sentence files. Titles
/// and infos are kept in blocks of text with a position for every sixteenth result, so a search that finds
/// a whole library costs little more than its titles; items and highlights are built on demand.
class SearchResults
{
public:
    bool cancelled = false;            ///< stopped before the end: there are no results
    std::vector<std::string> problems; ///< one message per book or lesson folder that could not be read

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    /// book\lesson\title, '?' restored.
    std::string Item(std::size_t i) const;
    /// The expanded highlight patterns of one result.
    std::string Highlight(std::size_t i) const;
    std::vector<std::string> Items() const;
    std::vector<std::string> Highlights() const;

private:
    friend class ResultCollector;

    /// Where one "title\0info\0" entry starts.
    struct Position
    {
        std::uint32_t block = 0;
        std::uint32_t offset = 0;
    };
    /// Every this many results one position is kept; the rest are found by walking from it.
    static constexpr std::size_t kCheckpointStride = 16;

    Position Next(Position at) const;
    Position PositionOf(std::size_t i, std::size_t lesson) const;
    std::string_view TitleOf(std::size_t i) const;
    std::size_t LessonOf(std::size_t i) const;

    std::vector<std::string> m_blocks;
    std::vector<Position> m_checkpoints;
    std::size_t m_size = 0;
    std::vector<std::string> m_lessonPrefixes;   ///< "book\lesson\" per lesson folder searched
    std::vector<std::uint32_t> m_lessonFirstHit; ///< per lesson folder, its first result
    std::vector<Position> m_lessonStart;         ///< per lesson folder, where its first result is
    std::string m_allText;                       ///< joined to every info, as typed
};

/// The lesson folders a search walks: for each book in order, its "Lesson*" folders (ListBook).
/// A book folder that cannot be read adds a message to `problems` when given.
std::vector<std::string> LessonFoldersToSearch(const std::string& libraryRoot, const std::string& strSubjectBook,
                                               std::vector<std::string>* problems = nullptr);

/// What every lesson of one search is tested against: the prepared topic words, the current
/// rule and, for a markable topic, the mark tag and the mark list.
struct LessonSearch
{
    TopicWords words;
    grammar::TopicRule rule;
    MarkTag mark;
    std::vector<std::string> markList;
    std::function<grammar::MatchResult(const std::string& lessonPath, const std::string& title)> topicMatcher;
};

/// Runs one topic search with the given rule table: topic words, rule, grammar marks. Safe to
/// run on a worker thread (it touches no widget and only reads `table`); `cancel`, when set,
/// stops it between two lesson folders and it returns no results at all.
SearchResults RunTopicSearch(const grammar::RuleTable& table, const SearchRequest& request,
                             const SearchProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

} // namespace lectoria::search
