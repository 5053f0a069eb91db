#include "analysis/Derivation.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "analysis/WordClasses.h"

namespace lectoria::analysis {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

/// A linkage with its words split into lower-case text and the parser's tag ("v-d" of "went.v-d").
class Reading
{
public:
    Reading(const Linkage& linkage, const std::vector<Linkage>& all) : m_linkage(linkage), m_all(all)
    {
        for (const std::string& word : linkage.words) {
            const std::size_t dot = word.rfind('.');
            const bool tagged = dot != std::string::npos && dot > 0 && dot + 1 < word.size();
            m_text.push_back(ToLower(tagged ? word.substr(0, dot) : word));
            m_shown.push_back(tagged ? word.substr(0, dot) : word);
            m_tag.push_back(tagged ? word.substr(dot + 1) : std::string());
        }
    }

    int Size() const { return static_cast<int>(m_text.size()); }
    const std::string& Text(int i) const { return m_text[static_cast<std::size_t>(i)]; }
    const std::string& Shown(int i) const { return m_shown[static_cast<std::size_t>(i)]; }
    const std::string& Tag(int i) const { return m_tag[static_cast<std::size_t>(i)]; }
    const std::vector<Link>& Links() const { return m_linkage.links; }

    bool Linked(int left, int right, std::string_view prefix) const
    {
        return std::any_of(m_linkage.links.begin(), m_linkage.links.end(), [&](const Link& link) {
            return link.left == left && link.right == right && StartsWith(link.label, prefix);
        });
    }

    // Whether any reading of the sentence joins the word at `right` as a passive participle.
    bool AnyReadingPassive(int right) const
    {
        for (const Linkage& other : m_all) {
            if (other.words.size() != m_linkage.words.size()) {
                continue;
            }
            for (const Link& link : other.links) {
                if (link.right == right && StartsWith(link.label, "Pv")) {
                    return true;
                }
            }
        }
        return false;
    }

    bool IsParticiple(int i) const
    {
        const std::string& tag = Tag(i);
        if (tag == "n" || StartsWith(tag, "n-") || tag == "g" || StartsWith(tag, "p")) {
            return false;
        }
        return IsParticipleForm(Text(i));
    }

    bool IsIng(int i) const
    {
        const std::string& text = Text(i);
        return text.size() > 4 && text.ends_with("ing") && Tag(i) != "a" && !IsAdverb(text);
    }

    bool IsVerbish(int i) const
    {
        return StartsWith(Tag(i), "v") || Tag(i) == "w" || Tag(i) == "q" || IsAuxiliary(Text(i));
    }

private:
    const Linkage& m_linkage;
    const std::vector<Linkage>& m_all;
    std::vector<std::string> m_text;
    std::vector<std::string> m_shown;
    std::vector<std::string> m_tag;
};

enum class Time
{
    None,
    Past,
    Present,
    Future,
    PastFuture,
};

struct VerbPhrase
{
    std::vector<int> chain;
    Time time = Time::None;
    bool progressive = false;
    bool perfect = false;
    bool passive = false;
    bool modal = false;
    bool modalPerfect = false;
    bool withTo = false; ///< "have to", "ought to", "be able to"
    int modalWord = -1;
};

std::string Join(const Reading& reading, const std::vector<int>& positions)
{
    std::string words;
    for (int i : positions) {
        if (!words.empty()) {
            words += ' ';
        }
        words += reading.Shown(i);
    }
    return words;
}

// Indices of words that carry tense: each one's subject link points at it, or it stands before its
// subject in a question.
std::vector<int> FiniteVerbs(const Reading& reading)
{
    std::set<int> finite;
    for (const Link& link : reading.Links()) {
        const std::string& label = link.label;
        if (StartsWith(label, "SI") || StartsWith(label, "SXI") || StartsWith(label, "SFI")) {
            finite.insert(link.left);
        } else if ((label[0] == 'S' && !StartsWith(label, "SJ")) || StartsWith(label, "RS")) {
            finite.insert(link.right);
        } else if ((StartsWith(label, "Qd") || StartsWith(label, "Qw") || StartsWith(label, "Qe")) &&
                   reading.IsVerbish(link.right)) {
            finite.insert(link.right);
        }
    }
    std::vector<int> verbs;
    for (int i : finite) {
        if (i > 0 && i < reading.Size() && (reading.IsVerbish(i) || IsModal(reading.Text(i)))) {
            verbs.push_back(i);
        }
    }
    return verbs;
}

int SubjectAfter(const Reading& reading, int verb)
{
    int subject = -1;
    for (const Link& link : reading.Links()) {
        if (link.left == verb &&
            (StartsWith(link.label, "SI") || StartsWith(link.label, "SXI") || StartsWith(link.label, "SFI"))) {
            subject = std::max(subject, link.right);
        }
    }
    return subject;
}

// The next word of the verb phrase after `from`, skipping adverbs of the middle position and, in a
// question, the subject; -1 at the end.
int NextInPhrase(const Reading& reading, int from, int skipThrough)
{
    for (int j = from + 1; j < reading.Size(); ++j) {
        if (j <= skipThrough || IsMidAdverb(reading.Text(j))) {
            continue;
        }
        return j;
    }
    return -1;
}

VerbPhrase ReadVerbPhrase(const Reading& reading, int finite)
{
    VerbPhrase phrase;
    phrase.chain.push_back(finite);
    const int subject = SubjectAfter(reading, finite);
    bool goingTo = false;
    int at = finite;
    while (true) {
        const std::string& word = reading.Text(at);
        const int next = NextInPhrase(reading, at, at == finite ? subject : -1);
        if (next < 0) {
            break;
        }
        const bool takesBase = IsModal(word) || IsDoForm(word) || word == "to";
        // "'d" before a participle is "had", read as a perfect below.
        if (takesBase && reading.IsVerbish(next) && !(word == "'d" && reading.IsParticiple(next))) {
            phrase.chain.push_back(next);
            at = next;
            continue;
        }
        if (IsHaveForm(word) && reading.IsParticiple(next) && (!reading.Linked(at, next, "Pv") || word != "'s")) {
            if (word == "'s" && !reading.Linked(at, next, "PP")) {
                // "it's done" is "it is done"; only a perfect link makes "'s" "has".
            } else {
                phrase.perfect = true;
                phrase.chain.push_back(next);
                at = next;
                continue;
            }
        }
        if (IsBeForm(word) || IsGetForm(word)) {
            if (IsBeForm(word) && reading.IsIng(next)) {
                if (reading.Text(next) == "going" && next + 2 < reading.Size() && reading.Text(next + 1) == "to" &&
                    reading.IsVerbish(next + 2)) {
                    goingTo = true;
                    phrase.chain.push_back(next);
                    phrase.chain.push_back(next + 1);
                    phrase.chain.push_back(next + 2);
                    at = next + 2;
                    continue;
                }
                phrase.progressive = true;
                phrase.chain.push_back(next);
                at = next;
                continue;
            }
            // "She is interested in music" describes her; "interested by" would be a passive.
            const bool byFollows = next + 1 < reading.Size() && reading.Text(next + 1) == "by";
            const bool adjectival = (reading.Tag(next) == "a" && !reading.AnyReadingPassive(next)) ||
                                    (IsEdAdjective(reading.Text(next)) && !byFollows);
            const bool getPassive = IsGetForm(word) && StartsWith(reading.Tag(next), "v");
            if (reading.IsParticiple(next) && (IsBeForm(word) ? !adjectival : getPassive)) {
                phrase.passive = true;
                phrase.chain.push_back(next);
                at = next;
                continue;
            }
        }
        break;
    }

    const std::string& first = reading.Text(finite);
    const auto nextIs = [&](std::size_t k, auto predicate) {
        return phrase.chain.size() > k && predicate(reading.Text(phrase.chain[k]));
    };
    const bool hadContracted = first == "'d" && phrase.perfect;
    if (hadContracted) {
        phrase.time = Time::Past;
    } else if (IsFutureModal(first)) {
        phrase.time = Time::Future;
    } else if (IsWould(first) &&
               !(first == "'d" && phrase.perfect && phrase.chain.size() > 1 && reading.IsParticiple(phrase.chain[1]))) {
        phrase.time = Time::PastFuture;
    } else if (IsModal(first)) {
        phrase.modal = true;
        phrase.modalWord = finite;
        phrase.modalPerfect = phrase.perfect && nextIs(1, IsHaveForm);
        phrase.time = Time::None;
    } else if (IsPastForm(first) || reading.Tag(finite) == "v-d" || first == "'d") {
        phrase.time = Time::Past;
    } else {
        phrase.time = Time::Present;
    }
    // A progressive passive needs "being"; a perfect progressive needs "been" + -ing, both read above.
    if (goingTo) {
        phrase.progressive = false;
        phrase.time = phrase.time == Time::Past ? Time::PastFuture : Time::Future;
    }
    return phrase;
}

std::string TenseName(const VerbPhrase& phrase)
{
    std::string name;
    switch (phrase.time) {
    case Time::Past:
        name = "过去";
        break;
    case Time::Present:
        name = "现在";
        break;
    case Time::Future:
        name = "将来";
        break;
    case Time::PastFuture:
        name = "过去将来";
        break;
    case Time::None:
        return std::string();
    }
    if (phrase.perfect && phrase.progressive) {
        name += "完成进行时";
    } else if (phrase.perfect) {
        name += "完成时";
    } else if (phrase.progressive) {
        name += "进行时";
    } else {
        name += "一般时";
    }
    return name;
}

bool IsQuestion(const Reading& reading)
{
    return std::any_of(reading.Links().begin(), reading.Links().end(), [](const Link& link) {
        return link.left == 0 &&
               (StartsWith(link.label, "Wq") || StartsWith(link.label, "Ws") || StartsWith(link.label, "Qd"));
    });
}

// Whether a verb takes the word as its object: "wonder if", "ask whether" open noun clauses.
bool ObjectOfVerb(const Reading& reading, int word)
{
    return std::any_of(reading.Links().begin(), reading.Links().end(),
                       [&](const Link& link) { return link.right == word && StartsWith(reading.Tag(link.left), "v"); });
}

void AddClauses(const Reading& reading, std::vector<Finding>& findings)
{
    const bool question = IsQuestion(reading);
    for (const Link& link : reading.Links()) {
        const std::string& label = link.label;
        if (label[0] == 'R' && !StartsWith(label, "RW") && !StartsWith(label, "RS") && label != "R*") {
            // "what" heads no noun: in a question it asks, elsewhere its clause stands as a noun.
            const std::string& head = reading.Text(link.left);
            if (head == "what" || head == "whatever") {
                if (!question) {
                    findings.push_back({"从句+名词从句", reading.Shown(link.left)});
                }
                continue;
            }
            findings.push_back({"从句+定语从句", reading.Shown(link.right)});
        }
    }
    for (const Link& link : reading.Links()) {
        const std::string& label = link.label;
        if (StartsWith(label, "TH") || StartsWith(label, "QI") || StartsWith(label, "TS")) {
            findings.push_back({"从句+名词从句", reading.Shown(link.right)});
        } else if (StartsWith(label, "Ce") && StartsWith(reading.Tag(link.left), "v")) {
            findings.push_back({"从句+名词从句", reading.Shown(link.left) + " " + reading.Shown(link.right)});
        }
    }
    for (const Link& link : reading.Links()) {
        if (StartsWith(link.label, "Cs") && IsSubordinator(reading.Text(link.left))) {
            const std::string& word = reading.Text(link.left);
            const bool nounClause = word == "whether" || (word == "if" && ObjectOfVerb(reading, link.left));
            findings.push_back({nounClause ? "从句+名词从句" : "从句+状语从句", reading.Shown(link.left)});
        }
    }
}

void AddSentenceTypes(const Reading& reading, std::vector<Finding>& findings)
{
    for (const Link& link : reading.Links()) {
        if (link.left != 0) {
            continue;
        }
        if (StartsWith(link.label, "Qd")) {
            findings.push_back({"句型+一般疑问句", reading.Shown(link.right)});
        } else if (StartsWith(link.label, "Wq") || StartsWith(link.label, "Ws")) {
            findings.push_back({"句型+特殊疑问句", reading.Shown(link.right)});
        } else if (StartsWith(link.label, "Wi") || StartsWith(link.label, "Wg")) {
            // "Go on and turn left": the wall links to the "and" that joins the verbs; the
            // imperative shows in the first of them.
            int verb = link.right;
            for (const Link& joined : reading.Links()) {
                if (joined.right == link.right && StartsWith(joined.label, "VJl")) {
                    verb = joined.left;
                    break;
                }
            }
            findings.push_back({"句型+祈使句", reading.Shown(verb)});
        }
    }
    for (const Link& link : reading.Links()) {
        if ((StartsWith(link.label, "SF") && reading.Text(link.left) == "there") ||
            (StartsWith(link.label, "SFI") && reading.Text(link.right) == "there")) {
            const int verb = reading.Text(link.left) == "there" ? link.right : link.left;
            findings.push_back(
                {"句型+There be", Join(reading, {std::min(verb, link.left == verb ? link.right : link.left),
                                                 std::max(verb, link.left == verb ? link.right : link.left)})});
        }
    }
}

// Whether the "to" belongs to "have to", "used to" and the like rather than opening an infinitive.
bool ToOfModal(const Reading& reading, int to)
{
    return std::any_of(reading.Links().begin(), reading.Links().end(), [&](const Link& link) {
        return link.right == to && StartsWith(link.label, "TO") && IsToModal(reading.Text(link.left));
    });
}

void AddNonFinite(const Reading& reading, const std::set<int>& inPhrases, std::vector<Finding>& findings)
{
    for (const Link& link : reading.Links()) {
        if (StartsWith(link.label, "I*t") && reading.Text(link.left) == "to" && !inPhrases.count(link.left) &&
            !ToOfModal(reading, link.left)) {
            findings.push_back({"非谓动词+不定式", Join(reading, {link.left, link.right})});
        }
    }
    for (int i = 1; i < reading.Size(); ++i) {
        if (reading.Tag(i) == "g" && !inPhrases.count(i)) {
            findings.push_back({"非谓动词+动名词", reading.Shown(i)});
        }
    }
}

// A participle or -ing form that a reading may have taken as an adjective or a noun.
bool VerbLike(const std::string& word)
{
    const std::string text = ToLower(word.substr(0, word.rfind('.')));
    return IsParticipleForm(text) || (text.size() > 4 && text.ends_with("ing"));
}

} // namespace

std::size_t ChooseLinkage(const std::vector<Linkage>& linkages)
{
    if (linkages.empty()) {
        return 0;
    }
    double best = linkages.front().cost;
    for (const Linkage& linkage : linkages) {
        best = std::min(best, linkage.cost);
    }
    std::size_t chosen = 0;
    int chosenScore = -1000;
    for (std::size_t k = 0; k < linkages.size(); ++k) {
        // Costs a little above the best still beat an adjectival or noun reading of a verb chain.
        if (linkages[k].cost > best + 1.0) {
            continue;
        }
        int score = 0;
        for (const Link& link : linkages[k].links) {
            const std::string& label = link.label;
            if (StartsWith(label, "Pv") || StartsWith(label, "Pg") || StartsWith(label, "PP")) {
                score += 2;
            } else if ((StartsWith(label, "Pa") || StartsWith(label, "Os") || StartsWith(label, "Ou")) &&
                       link.right < static_cast<int>(linkages[k].words.size()) &&
                       VerbLike(linkages[k].words[static_cast<std::size_t>(link.right)])) {
                score -= 1;
            }
        }
        if (score > chosenScore) {
            chosen = k;
            chosenScore = score;
        }
    }
    return chosen;
}

std::vector<Finding> DeriveFindings(const ParseResult& result)
{
    std::vector<Finding> findings;
    if (result.status != ParseStatus::Complete || result.linkages.empty()) {
        return findings;
    }
    const Reading reading(result.linkages[ChooseLinkage(result.linkages)], result.linkages);

    std::vector<VerbPhrase> phrases;
    std::set<int> inPhrases;
    for (int finite : FiniteVerbs(reading)) {
        if (inPhrases.count(finite)) {
            continue;
        }
        VerbPhrase phrase = ReadVerbPhrase(reading, finite);
        inPhrases.insert(phrase.chain.begin(), phrase.chain.end());
        phrases.push_back(std::move(phrase));
    }
    // "would" tells a future in the past only where the sentence already stands in the past.
    const bool pastContext =
        std::any_of(phrases.begin(), phrases.end(), [](const VerbPhrase& phrase) { return phrase.time == Time::Past; });
    for (VerbPhrase& phrase : phrases) {
        if (phrase.time == Time::PastFuture && IsWould(reading.Text(phrase.chain.front())) && !pastContext) {
            phrase.time = Time::None;
            phrase.modal = true;
            phrase.modalWord = phrase.chain.front();
            phrase.modalPerfect = phrase.perfect;
        }
    }
    for (const VerbPhrase& phrase : phrases) {
        const std::string name = TenseName(phrase);
        if (name.empty()) {
            continue;
        }
        findings.push_back({"时态+" + name, Join(reading, phrase.chain)});
    }
    for (const VerbPhrase& phrase : phrases) {
        const std::string name = TenseName(phrase);
        if (phrase.passive && !name.empty()) {
            findings.push_back({"语态+" + name + "被动语态", Join(reading, phrase.chain)});
        }
    }
    AddClauses(reading, findings);
    for (const VerbPhrase& phrase : phrases) {
        if (phrase.modalPerfect) {
            findings.push_back({"情态动词+情态动词加完成时态", Join(reading, phrase.chain)});
        } else if (phrase.modal) {
            findings.push_back({"情态动词+一般情态动词", reading.Shown(phrase.modalWord)});
        }
    }
    for (const Link& link : reading.Links()) {
        // "have to", "ought to", "used to", "need to" as one modal meaning.
        if (StartsWith(link.label, "TO") && IsToModal(reading.Text(link.left))) {
            findings.push_back({"情态动词+带to情态动词", Join(reading, {link.left, link.right})});
        }
    }
    AddNonFinite(reading, inPhrases, findings);
    AddSentenceTypes(reading, findings);
    return findings;
}

} // namespace lectoria::analysis
