#pragma once

// KeywordWriter: makes the search's keyword files from the texts of the items the search finds.
// Each text is reduced to plain words (rich-text control words, link targets and braces dropped,
// lower-cased and folded as the search folds a query, cut at every character that is not a
// letter or a digit); every word's posting list collects the packed ids of the items that hold
// it, and the key "all" lists every item.
//
// "KeyWord.dat" item n is the int-list of one word, strictly ascending without duplicates (the
// search's merges rely on it; write checks it); "KeyWord.idx" maps each word to its item number.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

class KeywordWriter {
public:
    // Words of a text in rich text (cp1252) or plain text, for the item with that packed id.
    void addRichText(int32_t packedId, const std::string& rtf);
    void addText(int32_t packedId, const std::string& text);

    // The words of a text, as the index keys them (in text order, repeats included).
    static std::vector<std::string> wordsOf(const std::string& text);
    // The plain text of a rich text: what the reader sees, without hidden link targets.
    static std::string plainText(const std::string& rtf);

    // Writes both files (replacing them); false with a message when a file cannot be written.
    bool write(const std::string& indexPath, const std::string& archivePath, std::string& error) const;

    size_t wordCount() const { return m_postings.size(); }
    const std::map<std::string, std::set<int32_t>>& postings() const { return m_postings; }

private:
    std::map<std::string, std::set<int32_t>> m_postings;
    std::set<int32_t> m_all;
};
