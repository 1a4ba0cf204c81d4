#include "app/reference/SearchSources.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "recdb/index/IndexObject.h"

namespace {

std::string textOf(const qelValue& value)
{
    return value.isString() ? std::string(qelCString(value), size_t(qelCount(value))) : std::string();
}

} // namespace

std::string IndexNames::nameOf(int32_t packedId)
{
    qelIndexObject* index = qelIndexObjectOf(m_index);
    return index ? textOf(index->get(qelValue(packedId))) : std::string();
}

bool EntryRecordTexts::entryTexts(int32_t listId, std::string& heading, std::string& text)
{
    if (m_opener) {
        m_opener(m_listIds, m_entries);
        m_opener = nullptr;
    }
    qelIndexObject* index = qelIndexObjectOf(m_listIds);
    qelArchiveObject* archive = qelArchiveOf(m_entries);
    if (!index || !archive)
        return false;
    qelValue record = index->get(qelValue(listId));
    if (record.type() != QEL_INT_TYPE || record.payload() < 0 || record.payload() >= archive->count())
        return false;
    qelValue entry = archive->get(record.payload());
    heading = textOf(qelGet(entry, 1));
    text = textOf(qelGet(entry, 4));
    return true;
}
