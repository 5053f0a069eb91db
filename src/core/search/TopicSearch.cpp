#include "search/TopicSearch.h"

#include <filesystem>
#include <iterator>
#include <utility>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include "library/Library.h"

namespace lectoria::search {

namespace {

bool IsLowerLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

std::vector<std::string> PreparedPieces(std::string_view text)
{
    std::vector<std::string> pieces = grammar::SplitList(grammar::ToLowerAscii(text), '/');
    for (std::string& piece : pieces) {
        if (piece.empty()) {
            continue;
        }
        // Both ends are judged on the piece as split, before either blank is added.
        const bool padFront = IsLowerLetter(piece.front());
        const bool padBack = IsLowerLetter(piece.back());
        if (padFront) {
            piece.insert(piece.begin(), ' ');
        }
        if (padBack) {
            piece.push_back(' ');
        }
    }
    return pieces;
}

void AppendPatterns(std::string& out, std::string_view word, bool wholeWord)
{
    static constexpr std::string_view kEndings[] = {" ", ".", ",", "'", "!", "?"};
    const std::string prefix = wholeWord ? " " : "";
    for (std::string_view ending : kEndings) {
        out += prefix;
        out += word;
        out += ending;
        out += '/';
    }
    if (wholeWord) {
        // The pane shows the sentence as written, where a word at its very start has no blank before it.
        out += word;
        out += "'/";
        out += word;
        out += " /";
    }
}

} // namespace

TopicWords PrepareTopicWords(std::string_view allText, std::string_view anyText)
{
    return TopicWords{PreparedPieces(allText), PreparedPieces(anyText)};
}

TopicWordMatch MatchTopicWords(const TopicWords& words, std::string_view sentence)
{
    const std::string text = grammar::NormalizeSentence(sentence);
    TopicWordMatch match;
    bool allOf = true;
    for (const std::string& piece : words.allWords) {
        if (!piece.empty() && text.find(piece) == std::string::npos) {
            allOf = false;
            break;
        }
    }
    bool anyOf = true;
    for (const std::string& piece : words.anyWords) {
        if (piece.empty()) {
            anyOf = true;
        } else if (text.find(piece) != std::string::npos) {
            anyOf = true;
            match.anyHit = piece;
            break;
        } else {
            anyOf = false;
        }
    }
    match.pass = allOf && anyOf;
    return match;
}

std::string ExpandHighlights(std::string_view info)
{
    if (info.empty()) {
        return std::string();
    }
    if (info.back() == '/') {
        info.remove_suffix(1);
    }
    if (!info.empty() && info.front() == '/') {
        info.remove_prefix(1);
    }
    std::string patterns;
    for (const std::string& piece : grammar::SplitList(info, '/')) {
        std::string_view word = piece;
        if (!word.empty() && word.back() == ' ') {
            word.remove_suffix(1);
        }
        const bool wholeWord = !word.empty() && word.front() == ' ';
        if (wholeWord) {
            word.remove_prefix(1);
        }
        if (!word.empty()) {
            AppendPatterns(patterns, word, wholeWord);
        }
    }
    if (!patterns.empty()) {
        patterns.pop_back();
    }
    return patterns;
}

void ExpandHighlights(std::vector<std::string>& infos)
{
    for (std::string& info : infos) {
        info = ExpandHighlights(info);
    }
}

std::string AllOfText(std::string_view strSubjectWord)
{
    const std::size_t plus = strSubjectWord.find('+');
    return plus == std::string_view::npos ? std::string() : std::string(strSubjectWord.substr(0, plus));
}

std::string AnyOfText(std::string_view strSubjectWord)
{
    const std::size_t plus = strSubjectWord.rfind('+');
    return plus == std::string_view::npos ? std::string() : std::string(strSubjectWord.substr(plus + 1));
}

TopicSelection ComposeTopicSelection(const std::vector<std::string>& books, std::string_view allText,
                                     std::string_view anyText, std::string_view parent, std::string_view child,
                                     std::string_view grandchild)
{
    TopicSelection selection;
    selection.strSubjectBook = grammar::JoinList(books, '/');
    selection.strSubjectWord = grammar::ToLowerAscii(std::string(allText).append("+").append(anyText));
    selection.strSubjectGrammar = std::string(parent).append("+").append(child);
    if (!grandchild.empty()) {
        selection.strSubjectGrammar.append("+").append(grandchild);
    }
    return selection;
}

std::string ProblemSummary(const std::vector<std::string>& problems)
{
    if (problems.empty()) {
        return {};
    }
    if (problems.size() == 1) {
        return problems.front();
    }
    return problems.front() + " (另有 " + std::to_string(problems.size() - 1) + " 处无法读取)";
}

std::vector<std::string> LessonFoldersToSearch(const std::string& libraryRoot, const std::string& strSubjectBook,
                                               std::vector<std::string>* problems)
{
    std::vector<std::string> folders;
    for (const std::string& book : grammar::SplitList(strSubjectBook, '/')) {
        // An empty name would walk the library root itself as if it were a book.
        if (book.empty()) {
            continue;
        }
        const std::filesystem::path bookPath = std::filesystem::path(libraryRoot) / book;
        const library::FolderListing lessons = library::ListBook(bookPath.string());
        if (!lessons.ok() && problems != nullptr) {
            problems->push_back(lessons.error);
        }
        for (const std::string& lesson : lessons.names) {
            folders.push_back((bookPath / lesson).string());
        }
    }
    return folders;
}

std::vector<std::string> SearchLesson(const LessonSearch& search, const std::string& lessonPath,
                                      std::vector<std::string>& resultInfos, std::vector<std::string>* problems)
{
    std::vector<std::string> items;
    const std::string itemPrefix = library::BookNameOf(lessonPath) + library::kItemPathSeparator +
                                   library::LessonNameOf(lessonPath) + library::kItemPathSeparator;
    const library::FolderListing titles = library::ListLesson(lessonPath);
    if (!titles.ok() && problems != nullptr) {
        problems->push_back(titles.error);
    }
    for (const std::string& title : titles.names) {
        const std::size_t blank = title.find(' ');
        const std::string sentence = grammar::ToLowerAscii(
            blank == std::string::npos ? std::string_view(title) : std::string_view(title).substr(blank + 1));
        const TopicWordMatch words = MatchTopicWords(search.words, sentence);
        if (!words.pass) {
            continue;
        }
        const grammar::MatchResult rule = grammar::MatchRule(search.rule, sentence);
        if (!rule.verdict) {
            continue;
        }
        std::string item = itemPrefix + title;
        if (search.mark.markable && !HasMark(search.markList, library::SentenceId(item), search.mark.tag)) {
            continue;
        }
        items.push_back(std::move(item));
        resultInfos.push_back(words.anyHit.empty() ? rule.matchedWords : rule.matchedWords + "/" + words.anyHit);
    }
    return items;
}

SearchResults RunTopicSearch(const grammar::RuleTable& table, const SearchRequest& request,
                             const SearchProgress& progress, const std::atomic<bool>* cancel)
{
    const std::string root = library::LibraryRootOf(request.strFullPath);
    std::vector<std::string> problems;
    const std::vector<std::string> lessons = LessonFoldersToSearch(root, request.strSubjectBook, &problems);
    const int total = static_cast<int>(lessons.size());
    if (progress) {
        progress(0, total);
    }

    LessonSearch search;
    search.words = PrepareTopicWords(request.allText, request.anyText);
    search.mark = MarkTagOfTopic(request.strSubjectGrammar);
    if (search.mark.markable) {
        search.markList = LoadMarkList(root);
    }
    search.rule = grammar::SelectRule(table, request.strSubjectGrammar);
    grammar::UseMatchEngine(search.rule, request.engine);

    SearchResults results;
    for (int done = 0; done < total; ++done) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            SearchResults stopped;
            stopped.cancelled = true;
            return stopped;
        }
        std::vector<std::string> items =
            SearchLesson(search, lessons[static_cast<std::size_t>(done)], results.highlights, &problems);
        results.items.insert(results.items.end(), std::make_move_iterator(items.begin()),
                             std::make_move_iterator(items.end()));
        if (progress) {
            progress(done + 1, total);
        }
    }
    if (!request.allText.empty()) {
        for (std::string& info : results.highlights) {
            info += '/';
            info += request.allText;
        }
    }
    ExpandHighlights(results.highlights);
    results.problems = std::move(problems);
    return results;
}

} // namespace lectoria::search
