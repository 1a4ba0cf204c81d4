#include "app/reference/SearchEngine.h"

#include "framework/runtime/CaseMap.h"

#include <algorithm>

namespace {

std::string mapped(const std::string& text, const std::array<uint8_t, 256>& map)
{
    std::string out(text);
    for (char& c : out)
        c = char(map[uint8_t(c)]);
    return out;
}

std::string lowered(const std::string& text)
{
    return mapped(text, qelLowerCaseMap);
}

bool endsWith(const std::string& text, char c)
{
    return !text.empty() && text.back() == c;
}

std::vector<int32_t> mergeUnion(const std::vector<int32_t>& a, const std::vector<int32_t>& b)
{
    std::vector<int32_t> out;
    out.reserve(a.size() + b.size());
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

} // namespace

SearchEngine::SearchEngine(SearchKeywords& keywords, SearchNames& names, SearchEntryTexts& entries,
    SearchCancel& cancel)
    : m_keywords(keywords)
    , m_names(names)
    , m_entries(entries)
    , m_cancel(cancel)
{
}

std::string SearchEngine::foldQuery(const std::string& query)
{
    return mapped(lowered(query), qelFoldMap);
}

std::vector<std::string> SearchEngine::tokenize(const std::string& folded)
{
    bool isDelimiter[256] = {};
    for (const char* c = delimiters; *c; ++c)
        isDelimiter[uint8_t(*c)] = true;
    std::vector<std::string> tokens;
    size_t start = 0;
    size_t i = 0;
    // A NUL ends the text, as it ends a string of the framework.
    for (; i < folded.size() && folded[i]; ++i) {
        if (isDelimiter[uint8_t(folded[i])]) {
            tokens.push_back(folded.substr(start, i - start));
            start = i + 1;
        }
    }
    tokens.push_back(folded.substr(start, i - start));
    return tokens;
}

std::vector<SearchEngine::Term> SearchEngine::parse(const std::string& folded, bool& phraseMode)
{
    std::vector<Term> terms;
    if (folded.empty())
        return terms;
    std::vector<std::string> tokens = tokenize(folded);
    auto lookup = [&](const std::string& word, std::vector<int32_t>& into) {
        int32_t item = 0;
        if (!word.empty() && m_keywords.lookup(word, item))
            into.push_back(item);
    };
    for (size_t position = 0; position < tokens.size(); ++position) {
        std::string token = tokens[position];
        if (token.empty())
            continue;
        if (token == "*")
            token = "all";
        Term term;
        bool found = false;
        if (token.size() > 1 && endsWith(token, '*')) {
            term.kind = Term::Prefix;
            found = m_keywords.prefixItems(token.substr(0, token.size() - 1), term.items);
        } else if (token.front() == '(' && endsWith(token, ')')) {
            if (token.size() > 2) {
                lookup(token.substr(1, token.size() - 2), term.items);
                found = !term.items.empty();
            }
        } else if (token.front() == '(') {
            term.kind = Term::Group;
            lookup(token.substr(1), term.items);
            // A group opened on the last word is dropped whatever it found, without a poll.
            if (position + 1 == tokens.size())
                break;
            while (++position < tokens.size()) {
                const std::string& inner = tokens[position];
                if (endsWith(inner, ')')) {
                    lookup(inner.substr(0, inner.size() - 1), term.items);
                    break;
                }
                lookup(inner, term.items);
            }
            found = !term.items.empty();
            if (found)
                phraseMode = true;
        } else {
            lookup(token, term.items);
            found = !term.items.empty();
        }
        if (found)
            terms.push_back(std::move(term));
        if (cancelled())
            break;
    }
    return terms;
}

std::vector<int32_t> SearchEngine::unionOf(std::vector<std::vector<int32_t>>& lists)
{
    if (lists.empty())
        return {};
    if (lists.size() == 1)
        return std::move(lists.front());
    if (lists.size() == 2)
        return mergeUnion(lists[0], lists[1]);
    // Many lists (a short prefix): mark the ids in a bit set over their range and read it back in
    // order, the same ascending union as merging them pairwise, in one pass over the ids.
    int64_t low = INT32_MAX;
    int64_t high = INT32_MIN;
    size_t total = 0;
    for (const std::vector<int32_t>& list : lists) {
        if (list.empty())
            continue;
        low = std::min<int64_t>(low, list.front());
        high = std::max<int64_t>(high, list.back());
        total += list.size();
    }
    if (total == 0)
        return {};
    std::vector<int32_t> out;
    // Why: the bit set pays only while the range is not far wider than the ids; past that a sort
    // gives the same union at a bounded cost.
    if (high - low > int64_t(total) * 64 + 4096) {
        out.reserve(total);
        for (const std::vector<int32_t>& list : lists)
            out.insert(out.end(), list.begin(), list.end());
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }
    std::vector<uint64_t> bits(size_t((high - low) / 64 + 1));
    for (const std::vector<int32_t>& list : lists)
        for (int32_t id : list) {
            uint64_t offset = uint64_t(int64_t(id) - low);
            bits[offset / 64] |= uint64_t(1) << (offset % 64);
        }
    out.reserve(total);
    for (size_t word = 0; word < bits.size(); ++word) {
        uint64_t set = bits[word];
        while (set) {
            int bit = __builtin_ctzll(set);
            out.push_back(int32_t(low + int64_t(word * 64 + size_t(bit))));
            set &= set - 1;
        }
    }
    return out;
}

std::vector<int32_t> SearchEngine::combine(const std::vector<Term>& terms)
{
    std::vector<int32_t> running;
    std::vector<int32_t> list;
    for (const Term& term : terms) {
        std::vector<int32_t> current;
        bool stop = false;
        switch (term.kind) {
        case Term::Prefix: {
            std::vector<std::vector<int32_t>> lists;
            lists.reserve(term.items.size());
            for (int32_t item : term.items) {
                if (m_keywords.postings(item, list))
                    lists.push_back(std::move(list));
                list.clear();
                if (cancelled()) {
                    stop = true;
                    break;
                }
            }
            current = unionOf(lists);
            break;
        }
        case Term::Group: {
            bool first = true;
            for (int32_t item : term.items) {
                if (m_keywords.postings(item, list)) {
                    if (first) {
                        current = std::move(list);
                        first = false;
                    } else {
                        std::vector<int32_t> both;
                        std::set_intersection(current.begin(), current.end(), list.begin(), list.end(),
                            std::back_inserter(both));
                        current = std::move(both);
                    }
                }
                list.clear();
                if (cancelled()) {
                    stop = true;
                    break;
                }
            }
            break;
        }
        case Term::Word:
            if (!term.items.empty())
                m_keywords.postings(term.items.front(), current);
            break;
        }
        // Terms combine as a union: a term that finds nothing leaves what the others found.
        if (running.empty())
            running = std::move(current);
        else if (!current.empty())
            running = mergeUnion(running, current);
        if (stop || cancelled())
            break;
    }
    return running;
}

std::vector<int32_t> SearchEngine::filterBySection(const std::vector<int32_t>& ids, int32_t mask)
{
    if (mask == allSections)
        return ids;
    std::vector<int32_t> kept;
    for (int32_t id : ids)
        if ((id >> 16) & mask)
            kept.push_back(id);
    return kept;
}

std::string SearchEngine::phraseOf(const std::string& query)
{
    size_t open = query.find('(');
    if (open == std::string::npos)
        return lowered(query);
    size_t close = query.find(')', open + 1);
    size_t end = close == std::string::npos ? query.size() : close;
    return lowered(query.substr(open + 1, end - open - 1));
}

std::vector<int32_t> SearchEngine::filterByPhrase(const std::vector<int32_t>& ids, const std::string& query)
{
    std::string phrase = phraseOf(query);
    std::vector<int32_t> kept;
    std::string heading;
    std::string text;
    for (int32_t id : ids) {
        if (!m_entries.entryTexts(id & 0xFFFF, heading, text))
            continue;
        if (lowered(text).find(phrase) != std::string::npos || lowered(heading).find(phrase) != std::string::npos)
            kept.push_back(id);
    }
    return kept;
}

int SearchEngine::compareNames(const std::string& a, const std::string& b)
{
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        signed char x = static_cast<signed char>(a[i]);
        signed char y = static_cast<signed char>(b[i]);
        if (x != y)
            return x > y ? 1 : -1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() > b.size() ? 1 : -1;
}

void SearchEngine::sortByName(std::vector<int32_t>& ids)
{
    size_t n = ids.size();
    std::vector<std::string> names;
    names.reserve(n);
    for (int32_t id : ids)
        names.push_back(lowered(m_names.nameOf(id)));
    // The Shell sort with gaps ..., 40, 13, 4, 1: names that compare equal keep the order this
    // sort gives them, which is part of what the list shows.
    size_t h = 1;
    while (h <= n)
        h = 3 * h + 1;
    while (h > 0) {
        if (h < n) {
            for (size_t i = h; i < n; ++i) {
                std::string name = std::move(names[i]);
                int32_t id = ids[i];
                size_t j = i;
                while (j >= h && compareNames(name, names[j - h]) < 0) {
                    names[j] = std::move(names[j - h]);
                    ids[j] = ids[j - h];
                    j -= h;
                }
                names[j] = std::move(name);
                ids[j] = id;
            }
        }
        h /= 3;
    }
}

std::vector<int32_t> SearchEngine::search(const std::string& query, int32_t& filterMask, bool& phraseMode)
{
    phraseMode = false;
    std::vector<Term> terms = parse(foldQuery(query), phraseMode);
    std::vector<int32_t> ids = combine(terms);
    if (phraseMode) {
        filterMask = allSections;
        filterMask = onPhraseMode ? onPhraseMode() : entriesSection;
        ids = filterByPhrase(filterBySection(ids, filterMask), query);
    } else {
        ids = filterBySection(ids, filterMask);
    }
    sortByName(ids);
    return ids;
}
