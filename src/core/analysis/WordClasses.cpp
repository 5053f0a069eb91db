#include "analysis/WordClasses.h"

#include <algorithm>
#include <initializer_list>
#include <set>

#include "grammar/TextRules.h"
#include "grammar/WordListData.h"

namespace lectoria::analysis {

namespace {

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

const std::set<std::string, std::less<>>& IrregularParticiples()
{
    static const std::set<std::string, std::less<>> words = [] {
        std::set<std::string, std::less<>> built;
        for (const std::string& entry : grammar::SplitList(grammar::lists::IrregularParticiples, '/')) {
            std::string word;
            for (char c : entry) {
                if (c != ' ' && c != '\r') {
                    word += c;
                }
            }
            if (!word.empty()) {
                built.insert(grammar::ToLowerAscii(word));
            }
        }
        // Participles that the list leaves out because they look like other forms.
        for (const char* word : {"done", "been", "come", "become", "run", "overcome", "gone", "seen"}) {
            built.insert(word);
        }
        return built;
    }();
    return words;
}

std::set<std::string, std::less<>> WordsOf(std::string_view list)
{
    std::set<std::string, std::less<>> words;
    for (const std::string& entry : grammar::SplitList(list, '/')) {
        std::string word;
        for (char c : entry) {
            if (c != ' ' && c != '\r' && c != '\n') {
                word += c;
            }
        }
        if (!word.empty()) {
            words.insert(grammar::ToLowerAscii(word));
        }
    }
    return words;
}

} // namespace

bool IsEdAdjective(std::string_view word)
{
    static const std::set<std::string, std::less<>> words = WordsOf(grammar::lists::EdAdjectives);
    return words.count(word) > 0;
}

std::string ToLower(std::string_view word)
{
    return grammar::ToLowerAscii(word);
}

bool IsFutureModal(std::string_view word)
{
    return OneOf(word, {"will", "shall", "'ll", "won't", "shan't"});
}

bool IsWould(std::string_view word)
{
    return OneOf(word, {"would", "'d", "wouldn't"});
}

bool IsModal(std::string_view word)
{
    return IsFutureModal(word) || IsWould(word) ||
           OneOf(word, {"can", "could", "may", "might", "must", "should", "cannot", "can't", "couldn't", "mightn't",
                        "mustn't", "shouldn't", "needn't"});
}

bool IsDoForm(std::string_view word)
{
    return OneOf(word, {"do", "does", "did", "don't", "doesn't", "didn't"});
}

bool IsHaveForm(std::string_view word)
{
    return OneOf(word, {"have", "has", "had", "having", "'ve", "'s", "'d", "haven't", "hasn't", "hadn't"});
}

bool IsBeForm(std::string_view word)
{
    return OneOf(word, {"am", "is", "are", "was", "were", "be", "been", "being", "'m", "'re", "'s", "isn't", "aren't",
                        "wasn't", "weren't", "ain't"});
}

bool IsGetForm(std::string_view word)
{
    return OneOf(word, {"get", "gets", "got", "gotten", "getting"});
}

bool IsAuxiliary(std::string_view word)
{
    return IsModal(word) || IsDoForm(word) || IsHaveForm(word) || IsBeForm(word);
}

bool IsPastForm(std::string_view word)
{
    return OneOf(word, {"was", "were", "had", "did", "wasn't", "weren't", "hadn't", "didn't"});
}

bool IsParticipleForm(std::string_view word)
{
    if (word.size() > 3 && word.ends_with("ed")) {
        return true;
    }
    return IrregularParticiples().count(word) > 0;
}

bool IsMidAdverb(std::string_view word)
{
    return OneOf(word, {"not",      "n't",      "never",   "ever",      "already",    "just",       "always", "still",
                        "also",     "often",    "usually", "really",    "probably",   "even",       "only",   "soon",
                        "yet",      "all",      "both",    "certainly", "sometimes",  "recently",   "seldom", "rarely",
                        "hardly",   "finally",  "almost",  "surely",    "definitely", "completely", "nearly", "once",
                        "suddenly", "actually", "quickly", "carefully"});
}

bool IsAdverb(std::string_view word)
{
    return IsMidAdverb(word) || OneOf(word, {"during", "nothing", "something", "anything", "everything"});
}

bool IsSubordinator(std::string_view word)
{
    return OneOf(word, {"if",       "when",     "because", "although", "though", "while",  "after",
                        "before",   "since",    "until",   "till",     "unless", "as",     "once",
                        "whenever", "wherever", "whereas", "so",       "than",   "whether"});
}

bool IsToModal(std::string_view word)
{
    return OneOf(word, {"have", "has", "had", "having", "ought", "used", "need", "needs"});
}

} // namespace lectoria::analysis
