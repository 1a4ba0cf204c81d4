#pragma once

// SearchEngine: the word search's query evaluation. A query is lower-cased and folded (accents
// dropped), cut into words at the delimiters, and each word looked up in the keyword index:
// exactly, by prefix ("bras*"), or as a parenthesised group whose words must all occur in one item
// ("(rio janeiro)"). Each lookup names archive items; each item is a posting list of packed ids
// (section bit << 16 | number within the section). Terms combine as a union, a group's words as an
// intersection; a group of several words then keeps only the entries whose texts hold the phrase.
// The result is filtered by section and sorted by name.
//
// The engine keeps no state between searches. It reaches the content through four small
// interfaces, so the dialog, the tests and the benchmark each give it their own.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class SearchKeywords {
public:
    virtual ~SearchKeywords() = default;
    // The archive item of a word; false when the index has no such word.
    virtual bool lookup(const std::string& word, int32_t& item) = 0;
    // The archive items of every word beginning with the prefix, in key order (never the index's
    // own bookkeeping items); false when no word begins with it.
    virtual bool prefixItems(const std::string& prefix, std::vector<int32_t>& items) = 0;
    // The posting list of an archive item, strictly ascending; false for an item the archive does
    // not hold.
    virtual bool postings(int32_t item, std::vector<int32_t>& ids) = 0;
};

class SearchNames {
public:
    virtual ~SearchNames() = default;
    // The row text of a packed id ("Section: title"); empty when it has none.
    virtual std::string nameOf(int32_t packedId) = 0;
};

class SearchEntryTexts {
public:
    virtual ~SearchEntryTexts() = default;
    // The heading and the text of the entry with that list id; false when there is no such entry.
    virtual bool entryTexts(int32_t listId, std::string& heading, std::string& text) = 0;
};

class SearchCancel {
public:
    virtual ~SearchCancel() = default;
    // True when the user asked to stop; once true it stays true for the rest of the search.
    virtual bool cancelRequested() = 0;
};

class SearchEngine {
public:
    // The entries section's bit, the one a phrase search keeps.
    static constexpr int32_t entriesSection = 64;
    static constexpr int32_t allSections = 255;
    static constexpr const char* delimiters = " \t\\;=<>,.!#\"{}'+-|%:/";

    struct Term {
        enum Kind { Word, Prefix, Group };
        Kind kind { Word };
        // Word: one item; Prefix: the items of the prefix's words; Group: one item per word found.
        std::vector<int32_t> items;
    };

    SearchEngine(SearchKeywords& keywords, SearchNames& names, SearchEntryTexts& entries, SearchCancel& cancel);

    // Called when a search turns out to be a phrase search, with the filter mask reset to all
    // sections; answers the mask the search goes on with (the dialog's own handling of its
    // entries box). Without it the mask becomes the entries section.
    std::function<int32_t()> onPhraseMode;

    // The whole search: the packed ids that match, filtered by the mask and sorted by name. The
    // mask may change (a phrase search keeps entries only); phraseMode tells whether it did.
    std::vector<int32_t> search(const std::string& query, int32_t& filterMask, bool& phraseMode);

    // The query lower-cased, then folded.
    static std::string foldQuery(const std::string& query);
    // The query's words as the tokenizer cuts them: every delimiter ends one, so runs of
    // delimiters give empty words.
    static std::vector<std::string> tokenize(const std::string& folded);
    std::vector<Term> parse(const std::string& folded, bool& phraseMode);
    // The ascending union of the terms.
    std::vector<int32_t> combine(const std::vector<Term>& terms);
    static std::vector<int32_t> filterBySection(const std::vector<int32_t>& ids, int32_t mask);
    // The ids of entries whose text or heading holds the query's phrase (lower-cased, not folded).
    std::vector<int32_t> filterByPhrase(const std::vector<int32_t>& ids, const std::string& query);
    // The phrase of a query: the text of its first parenthesised group, without the parentheses.
    static std::string phraseOf(const std::string& query);
    void sortByName(std::vector<int32_t>& ids);
    // Bytewise as signed characters, a prefix before the longer text: -1, 0 or 1.
    static int compareNames(const std::string& a, const std::string& b);

private:
    bool cancelled() { return m_cancel.cancelRequested(); }
    // The ascending union of several ascending lists.
    static std::vector<int32_t> unionOf(std::vector<std::vector<int32_t>>& lists);

    SearchKeywords& m_keywords;
    SearchNames& m_names;
    SearchEntryTexts& m_entries;
    SearchCancel& m_cancel;
};
