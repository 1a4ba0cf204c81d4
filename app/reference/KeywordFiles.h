#pragma once

// KeywordFiles: the search's keywords as the disk holds them. "KeyWord.idx" is a keyed index
// from each folded word to the number of its posting list; "KeyWord.dat" is an archive whose item
// n is that list, an int-list of packed ids in strictly ascending order. Besides the words the
// index holds the key "all" (the list of every item) and its own count item.
//
// Both files stay open from construction to destruction, so a search opens no file of its own.
// The files are content, but a damaged one must not end the program: a value that is not an item
// number of the archive is no word, a posting list that is not an int-list is empty, and one out
// of order is put in order.

#include "app/reference/SearchEngine.h"
#include "framework/runtime/Value.h"

class KeywordFiles final : public SearchKeywords {
public:
    // Values of open index and archive (either may be nil: no words).
    KeywordFiles(const qelValue& index, const qelValue& archive);
    // Locates "KeyWord.idx" and "KeyWord.dat" among the media files and opens them read-only.
    static KeywordFiles openLocated();

    bool lookup(const std::string& word, int32_t& item) override;
    bool prefixItems(const std::string& prefix, std::vector<int32_t>& items) override;
    bool postings(int32_t item, std::vector<int32_t>& ids) override;

    const qelValue& index() const { return m_index; }
    const qelValue& archive() const { return m_archive; }

private:
    bool isItem(const qelValue& value) const;

    qelValue m_index;
    qelValue m_archive;
    int32_t m_itemCount { 0 };
};
