#include "app/reference/KeywordFiles.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "recdb/index/IndexObject.h"

#include <algorithm>
#include <cstring>

KeywordFiles::KeywordFiles(const qelValue& index, const qelValue& archive)
    : m_index(index)
    , m_archive(archive)
{
    if (qelArchiveObject* object = qelArchiveOf(m_archive))
        m_itemCount = object->count();
}

KeywordFiles KeywordFiles::openLocated()
{
    qelValue index = qelOpenIndex(qelLocateFile("KeyWord", "idx"), 0, 0);
    qelValue archive = qelOpenArchive(qelLocateFile("KeyWord", "dat"), 0);
    return KeywordFiles(index, archive);
}

bool KeywordFiles::isItem(const qelValue& value) const
{
    return value.type() == QEL_INT_TYPE && value.payload() >= 0 && value.payload() < m_itemCount;
}

bool KeywordFiles::lookup(const std::string& word, int32_t& item)
{
    qelIndexObject* index = qelIndexObjectOf(m_index);
    // The count item is bookkeeping, never a word, whatever the query.
    if (!index || word.empty() || word == qelIndexObject::countKey)
        return false;
    qelValue value = index->get(qelValue(word.c_str()));
    if (!isItem(value))
        return false;
    item = value.payload();
    return true;
}

bool KeywordFiles::prefixItems(const std::string& prefix, std::vector<int32_t>& items)
{
    qelIndexObject* index = qelIndexObjectOf(m_index);
    if (!index)
        return false;
    qelValue key = qelValue(prefix.c_str());
    qelValue keys = index->keysWithPrefix(key, nullptr);
    qelValue values = index->valuesWithPrefix(key, nullptr);
    if (!qelListObjectOf(keys) || !qelListObjectOf(values))
        return false;
    int32_t count = std::min(qelCount(keys), qelCount(values));
    bool found = false;
    for (int32_t i = 0; i < count; ++i) {
        const char* word = qelCString(qelGet(keys, i));
        // The count item and the catalogue-wide "all" are not words: a prefix finds words only
        // ("*" alone asks for "all").
        if (!std::strcmp(word, qelIndexObject::countKey) || !std::strcmp(word, "all"))
            continue;
        qelValue value = qelGet(values, i);
        if (!isItem(value))
            continue;
        items.push_back(value.payload());
        found = true;
    }
    return found;
}

bool KeywordFiles::postings(int32_t item, std::vector<int32_t>& ids)
{
    qelArchiveObject* archive = qelArchiveOf(m_archive);
    if (!archive || item < 0 || item >= m_itemCount)
        return false;
    qelValue list = archive->get(item);
    const int32_t* data = qelIntListData(list);
    if (!data)
        return true;
    ids.assign(data, data + qelCount(list));
    if (!std::is_sorted(ids.begin(), ids.end()) || std::adjacent_find(ids.begin(), ids.end()) != ids.end()) {
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    }
    return true;
}
