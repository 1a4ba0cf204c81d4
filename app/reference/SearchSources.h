#pragma once

// The search's names and entry texts read straight from open content files: the general name
// list (packed id in decimal -> "Section: title") and the entries' list-id index with their
// archive (element 1 the heading, element 4 the text). The dialog reaches the same files through
// the database lists; these serve where there are none (the benchmark).

#include "app/reference/SearchEngine.h"
#include "framework/runtime/Value.h"

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
    // Either value may be nil (no entries). listIdIndex: list id -> record number.
    EntryRecordTexts(const qelValue& listIdIndex, const qelValue& entries)
        : m_listIds(listIdIndex)
        , m_entries(entries)
    {
    }
    bool entryTexts(int32_t listId, std::string& heading, std::string& text) override;

private:
    qelValue m_listIds;
    qelValue m_entries;
};
