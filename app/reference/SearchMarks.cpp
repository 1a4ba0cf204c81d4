#include "app/reference/SearchMarks.h"

#include "framework/runtime/StringObject.h"

#include <cstdint>
#include <vector>

namespace {

struct Term {
    std::string text;
    bool prefix = false;
    // Where the term is found next at or after the scan's position; npos when no more.
    size_t next = 0;
    bool searched = false;
};

// Accent-folded and lower-cased, one byte for one byte, so positions agree with the original.
std::string folded(std::string_view text)
{
    qelValue value = qelLowerCase(qelFoldText(qelStringValueN(text.data(), int32_t(text.size()))));
    return std::string(qelCString(value), text.size());
}

std::vector<std::string> splitAtBlanks(const std::string& text)
{
    std::vector<std::string> words;
    size_t start = 0;
    for (;;) {
        size_t blank = text.find(' ', start);
        words.push_back(text.substr(start, blank == std::string::npos ? std::string::npos : blank - start));
        if (blank == std::string::npos)
            return words;
        start = blank + 1;
    }
}

bool endsWith(const std::string& text, char c)
{
    return !text.empty() && text.back() == c;
}

// The search's terms in the order the searched text gives them.
std::vector<Term> termsOf(std::string_view searchedText)
{
    std::vector<std::string> words = splitAtBlanks(folded(searchedText));
    std::vector<Term> terms;
    bool prefix = false;
    for (size_t i = 0; i < words.size(); ++i) {
        std::string word = words[i];
        if (endsWith(word, '*')) {
            word.pop_back();
            prefix = true;
        } else if (word.size() >= 2 && word.front() == '(' && word.back() == ')') {
            word = word.substr(1, word.size() - 2);
        } else if (!word.empty() && word.front() == '(') {
            // A phrase: the words up to the one that ends with ")", or to the last word.
            word.erase(0, 1);
            while (i + 1 < words.size()) {
                const std::string& following = words[++i];
                if (endsWith(following, ')')) {
                    word += " " + following.substr(0, following.size() - 1);
                    break;
                }
                word += " " + following;
            }
        }
        if (!word.empty())
            terms.push_back({ word, prefix });
    }
    return terms;
}

bool startsWord(char before)
{
    return before == ' ' || before == '(' || before == '{' || before == '"' || before == '-';
}

bool endsWord(char after)
{
    switch (after) {
    case ' ':
    case '.':
    case ',':
    case '"':
    case ';':
    case '}':
    case ')':
    case '!':
    case '?':
    case '-':
        return true;
    default:
        return false;
    }
}

// The next position of a needle at or after a point, remembered while the point moves forward
// only: each search over the text is done once however many matches ask.
class NextFinder {
public:
    NextFinder(const std::string& text, std::string_view needle)
        : m_text(text)
        , m_needle(needle)
    {
    }
    size_t at(size_t from)
    {
        if (!m_valid || (m_next != std::string::npos && m_next < from) || from < m_from) {
            m_next = m_text.find(m_needle, from);
            m_from = from;
            m_valid = true;
        }
        return m_next;
    }

private:
    const std::string& m_text;
    std::string_view m_needle;
    size_t m_next = std::string::npos;
    size_t m_from = 0;
    bool m_valid = false;
};

struct Strike {
    size_t start;
    size_t end;
};

} // namespace

std::string markSearchWords(std::string_view text, std::string_view searchedText)
{
    std::vector<Term> terms = termsOf(searchedText);
    if (terms.empty() || text.empty())
        return std::string(text);
    const std::string low = folded(text);
    NextFinder openBrace(low, "{");
    NextFinder linkEnd(low, "}!");
    NextFinder closeBrace(low, "}");
    std::vector<Strike> strikes;

    size_t position = 0;
    for (;;) {
        // The earliest match of any term from here; at one place the longest term.
        Term* best = nullptr;
        for (Term& term : terms) {
            if (!term.searched || (term.next != std::string::npos && term.next < position)) {
                term.next = low.find(term.text, position);
                term.searched = true;
            }
            if (term.next == std::string::npos)
                continue;
            if (!best || term.next < best->next || (term.next == best->next && term.text.size() > best->text.size()))
                best = &term;
        }
        if (!best)
            break;
        size_t p = best->next;
        size_t length = best->text.size();
        size_t spanStart = p;
        size_t spanEnd = p + length;

        // Inside a hyperlink's shown words: a "}!" comes before any "{". The whole link is
        // struck, from its opening "{" (not before what is already done) to just before the
        // target's closing "}", which the inserted "}" stands for; the text's own "}" then closes
        // the struck group. A link cut short (no "{" before or no "}" after) is a plain match.
        size_t brace = openBrace.at(p);
        size_t end = linkEnd.at(p);
        if (end != std::string::npos && (brace == std::string::npos || end < brace)) {
            // Back from the match only as far as what is done, so each part of the text is
            // looked through once.
            size_t open = p + 1;
            while (open > position && low[open - 1] != '{')
                --open;
            size_t close = closeBrace.at(end + 2);
            if (open > position && close != std::string::npos) {
                --open;
                spanStart = open;
                spanEnd = close;
            }
        }

        // The character before the match in the whole text: the start of the text counts as a
        // word's start.
        bool before = p == 0 || startsWord(text[p - 1]);
        bool after = best->prefix || p + length >= text.size() || endsWord(text[p + length]);
        if (before && after)
            strikes.push_back({ spanStart, spanEnd });
        position = spanEnd;
    }

    if (strikes.empty())
        return std::string(text);
    static constexpr std::string_view open = "{\\strike ";
    std::string result;
    result.reserve(text.size() + strikes.size() * (open.size() + 1));
    size_t done = 0;
    for (const Strike& strike : strikes) {
        result.append(text.substr(done, strike.start - done));
        result.append(open);
        result.append(text.substr(strike.start, strike.end - strike.start));
        result.push_back('}');
        done = strike.end;
    }
    result.append(text.substr(done));
    return result;
}
