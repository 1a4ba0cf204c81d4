#pragma once

// The search's names and entry texts read straight from open content files: the general name
// list (packed id in decimal -> "Section: title") and the entries' list-id index with their
// archive (element 1 the heading, element 4 the text). The dialog reaches the same files through
// the database lists; these serve where there are none (the benchmark).

#include "app/reference/SearchEngine.h"
#include "framework/runtime/Value.h"

#include <functional>

class IndexNames final : public SearchNames {
public:
    explicit IndexNames(const qelValue& nameIndex)
        : m_index(nameIndex)
    {
    }
    std::string nameOf(int32_t packedId) override;

private:
    qelValue m_index;
};

class EntryRecordTexts final : public SearchEntryTexts {
public:
    // Opens the list-id index (list id -> record number) and the entries archive; either may be
    // left nil (no entries). It runs at the first entry asked for, so a search without a phrase
    // opens neither file.
    using Opener = std::function<void(qelValue& listIdIndex, qelValue& entries)>;
    explicit EntryRecordTexts(Opener opener)
        : m_opener(std::move(opener))
    {
    }
    bool entryTexts(int32_t listId, std::string& heading, std::string& text) override;

private:
    Opener m_opener;
    qelValue m_listIds;
    qelValue m_entries;
};
