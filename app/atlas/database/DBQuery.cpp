#include "app/atlas/database/DBQuery.h"

#include "app/atlas/database/SavedSearches.h"
#include "app/shell/TrimBlanks.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"

#include <cstring>

namespace {

constexpr const char* missingText = "n.d.";
constexpr const char* allValues = "Todos";

qelValue newFieldList()
{
    return qelMakeList(4, 100, QEL_GENERAL_LIST);
}

bool holdsSemicolon(const qelValue& value)
{
    return value.isString() && std::strchr(qelCString(value), ';') != nullptr;
}

// The parts of a multi-valued text, each without its outer blanks.
qelValue trimmedParts(const qelValue& text)
{
    qelValue parts = qelTokenize(text, ";");
    for (int32_t i = 0; i < qelCount(parts); ++i)
        qelPut(parts, i, trimBlanks(qelGet(parts, i)));
    return parts;
}

// The record numbers of a stored list that name a record, as a new int list (an index entry
// pointing past the records is content damage, left out).
qelValue validRecordNumbers(const qelValue& stored, int32_t recordCount)
{
    qelValue numbers = qelNewIntList(4);
    if (stored.type() != QEL_LIST_TYPE)
        return numbers;
    for (int32_t i = 0; i < qelCount(stored); ++i) {
        qelValue n = qelGet(stored, i);
        if (n.type() == QEL_INT_TYPE && n.payload() >= 0 && n.payload() < recordCount)
            qelAddItem(numbers, n);
    }
    return numbers;
}

} // namespace

qelValue dbFieldKey(int32_t field)
{
    return qelValueToString(qelMakeInt(field));
}

bool dbIsMissing(const qelValue& value)
{
    return value.isNil() || value == missingText;
}

const char* DBQuery::fileName(int32_t kind)
{
    return kind == States ? "DBEstado" : "DBPaises";
}

void DBQuery::load(int32_t kind)
{
    const char* name = fileName(kind);
    qelValue data = qelOpenArchive(qelLocateFile(name, "dat"), 0);
    qelValue index = qelOpenArchive(qelLocateFile(name, "idx"), 0);
    loadFrom(kind, data, index);
}

void DBQuery::loadFrom(int32_t kind, const qelValue& dataArchive, const qelValue& indexArchive)
{
    m_fieldSelection = newFieldList();
    m_criteria = qelTable(4, 100, 75);
    m_databaseKind = kind == States ? States : Countries;
    m_fieldCount = kind == States ? stateFieldCount : countryFieldCount;
    m_dataArchive = dataArchive;
    m_records = qelMakeList(256, 100, QEL_GENERAL_LIST);
    int32_t count = dataArchive.type() == QEL_ARCHIVE_TYPE ? qelCount(dataArchive) : 0;
    for (int32_t i = 0; i < count; ++i) {
        qelValue record = qelGet(dataArchive, i);
        // A damaged record keeps its number (the index refers to records by number) but holds
        // the missing value in every field it lacks.
        if (record.type() != QEL_LIST_TYPE)
            record = qelMakeList(m_fieldCount + 1, 100, QEL_GENERAL_LIST);
        if (qelCount(record) <= m_fieldCount) {
            record = qelCopy(record);
            while (qelCount(record) <= m_fieldCount)
                qelAddItem(record, missingText);
        }
        qelAddItem(m_records, record);
    }
    m_valueIndex = indexArchive.type() == QEL_ARCHIVE_TYPE && qelCount(indexArchive) > 0 ? qelGet(indexArchive, 0) : qelNil;
    if (m_valueIndex.type() != QEL_TABLE_TYPE)
        m_valueIndex = qelTable(4, 100, 75);
}

void DBQuery::unload()
{
    m_dataArchive = qelNil;
    m_valueIndex = qelNil;
    m_records = qelNil;
    m_fieldSelection = qelNil;
    m_resultRecords = qelNil;
    m_sortField = -1;
}

int32_t DBQuery::recordLength() const
{
    if (qelCount(m_records) < 1)
        return 0;
    return qelCount(qelGet(m_records, 0));
}

qelValue DBQuery::indexedValues(int32_t field) const
{
    if (m_valueIndex.type() != QEL_TABLE_TYPE)
        return qelNil;
    qelValue values = qelGet(m_valueIndex, dbFieldKey(field));
    return values.type() == QEL_TABLE_TYPE ? values : qelNil;
}

qelValue DBQuery::shownFields() const
{
    qelValue shown = newFieldList();
    for (int32_t i = 0; i < qelCount(m_fieldSelection); ++i) {
        int32_t n = qelIntAt(m_fieldSelection, i);
        if (n >= 0)
            qelAddItem(shown, qelMakeInt(n));
    }
    return shown;
}

qelValue DBQuery::runQuery()
{
    if (m_criteria.type() == QEL_TABLE_TYPE && qelCount(m_criteria) > 0) {
        qelValue selected;
        bool met = false;
        for (int32_t i = 0; i < qelCount(m_fieldSelection); ++i) {
            int32_t n = qelIntAt(m_fieldSelection, i);
            qelValue key = dbFieldKey(n < 0 ? -n : n);
            if (!qelContainsKey(m_criteria, key))
                continue;
            qelValue list = qelGet(m_criteria, key);
            selected = met ? qelListIntersection(selected, list) : list;
            met = true;
        }
        if (!met || qelCount(selected) == 0)
            return qelNil;
        qelValue result = qelMakeList(qelCount(selected), 100, QEL_GENERAL_LIST);
        int32_t recordCount = qelCount(m_records);
        for (int32_t i = 0; i < qelCount(selected); ++i) {
            int32_t k = qelIntAt(selected, i);
            if (k >= 0 && k < recordCount)
                qelAddItem(result, qelGet(m_records, k));
        }
        m_resultRecords = result;
    } else {
        m_resultRecords = m_records;
    }

    if (m_sortField > 0) {
        // Pairs (key, position) in the framework's value order: texts folded and byte by byte,
        // numbers before texts, the missing value as the float 0; the position keeps equal keys
        // in result order (reversed with the rest when descending).
        int32_t count = qelCount(m_resultRecords);
        qelValue pairs = qelMakeList(count, 100, QEL_GENERAL_LIST);
        for (int32_t p = 0; p < count; ++p) {
            qelValue record = qelGet(m_resultRecords, p);
            qelValue key = m_sortField < qelCount(record) ? qelGet(record, m_sortField) : qelValue(missingText);
            if (dbIsMissing(key))
                key = qelMakeFloat(0.0f);
            else if (key.isString())
                key = qelFoldText(key);
            qelAddItem(pairs, qelListOf({ key, qelMakeInt(p) }));
        }
        qelValue sorted = qelSortedList(pairs, m_sortDescending);
        qelValue ordered = qelMakeList(count, 100, QEL_GENERAL_LIST);
        for (int32_t i = 0; i < count; ++i)
            qelAddItem(ordered, qelGet(m_resultRecords, qelIntValue(qelGet(qelGet(sorted, i), 1))));
        m_resultRecords = ordered;
    }
    return m_resultRecords;
}

qelValue DBQuery::fieldValues(int32_t field) const
{
    if (field < 1 || field >= recordLength())
        return qelNil;
    qelValue result = newFieldList();
    qelAddItem(result, allValues);
    qelValue indexed = indexedValues(field);
    if (!indexed.isNil()) {
        qelValue keys = newFieldList();
        qelTableObject* table = qelTableOf(indexed);
        for (int32_t slot = table->firstIndex(); slot >= 0; slot = table->nextIndex(slot)) {
            qelValue key = table->keyAt(slot);
            if (!dbIsMissing(key))
                qelAddItem(keys, key);
        }
        qelValue sorted = qelSortedList(keys, 0);
        for (int32_t i = 0; i < qelCount(sorted); ++i)
            qelAddUnique(result, qelGet(sorted, i));
        return result;
    }
    // The folded form before each value, so values order by it first; the value is the right
    // half of the item.
    qelValue items = newFieldList();
    auto addValue = [&](const qelValue& value) {
        if (dbIsMissing(value) || (value.isString() && qelCount(value) == 0))
            return;
        qelValue text = value.isString() ? value : qelValueToString(value);
        qelAddUnique(items, qelFoldText(text) + text);
    };
    for (int32_t i = 0; i < qelCount(m_records); ++i) {
        qelValue value = qelGet(qelGet(m_records, i), field);
        if (holdsSemicolon(value)) {
            qelValue parts = trimmedParts(value);
            for (int32_t j = 0; j < qelCount(parts); ++j)
                addValue(qelGet(parts, j));
        } else {
            addValue(value);
        }
    }
    qelValue sorted = qelSortedList(items, 0);
    for (int32_t i = 0; i < qelCount(sorted); ++i) {
        qelValue item = qelGet(sorted, i);
        int32_t length = qelCount(item);
        qelAddUnique(result, qelRight(item, length - length / 2));
    }
    return result;
}

void DBQuery::addField(int32_t field)
{
    if (m_fieldSelection.type() != QEL_LIST_TYPE)
        m_fieldSelection = qelNewIntList(4);
    if (qelIndexOf(m_fieldSelection, qelMakeInt(field)) >= 0 || qelIndexOf(m_fieldSelection, qelMakeInt(-field)) >= 0)
        return;
    qelAddItem(m_fieldSelection, qelMakeInt(field));
}

void DBQuery::setFieldShown(int32_t field, int32_t mode)
{
    if (m_fieldSelection.type() != QEL_LIST_TYPE)
        return;
    int32_t at = qelIndexOf(m_fieldSelection, qelMakeInt(field));
    if (at < 0)
        at = qelIndexOf(m_fieldSelection, qelMakeInt(-field));
    if (at < 0)
        return;
    int32_t entry = qelIntAt(m_fieldSelection, at);
    int32_t stored = mode == 0 ? -field : mode == -1 ? -entry : field;
    qelPut(m_fieldSelection, at, qelMakeInt(stored));
}

void DBQuery::removeField(int32_t field)
{
    if (m_fieldSelection.type() != QEL_LIST_TYPE || qelCount(m_fieldSelection) == 0)
        return;
    qelListRemove(m_fieldSelection, qelMakeInt(field));
    qelListRemove(m_fieldSelection, qelMakeInt(-field));
    removeCriterion(field);
}

void DBQuery::setSortOrder(int32_t field, const qelValue& order)
{
    if (!order.isString() || qelCount(order) == 0) {
        m_sortField = -1;
        return;
    }
    m_sortField = field;
    m_sortDescending = order == "Ascen" ? 0 : 1;
}

qelValue DBQuery::matchingRecords(int32_t field, const qelValue& text) const
{
    qelValue indexed = indexedValues(field);
    if (!indexed.isNil())
        return validRecordNumbers(qelGet(indexed, text), qelCount(m_records));
    qelValue matches = qelNewIntList(4);
    for (int32_t i = 0; i < qelCount(m_records); ++i) {
        qelValue value = qelGet(qelGet(m_records, i), field);
        bool match = false;
        if (holdsSemicolon(value)) {
            qelValue parts = trimmedParts(value);
            for (int32_t j = 0; j < qelCount(parts) && !match; ++j)
                match = qelGet(parts, j) == text;
        } else {
            match = value.isString() && value == text;
        }
        if (match)
            qelAddItem(matches, qelMakeInt(i));
    }
    return matches;
}

void DBQuery::addOneTextCriterion(int32_t field, const qelValue& text)
{
    qelValue matches = matchingRecords(field, text);
    qelValue key = dbFieldKey(field);
    if (qelContainsKey(m_criteria, key))
        matches = qelListUnion(matches, qelGet(m_criteria, key));
    qelPut(m_criteria, key, matches);
    addField(field);
}

void DBQuery::addTextCriterion(int32_t field, const qelValue& text)
{
    if (!text.isString() || qelCount(text) == 0)
        return;
    if (m_criteria.type() != QEL_TABLE_TYPE)
        m_criteria = qelTable(4, 100, 75);
    if (holdsSemicolon(text)) {
        // Each part in turn, as if given alone: an empty part adds nothing, "Todos" drops what
        // the parts before it added; the last part is a value even when it reads "Todos".
        qelValue parts = trimmedParts(text);
        int32_t last = qelCount(parts) - 1;
        for (int32_t i = 0; i < last; ++i)
            addTextCriterion(field, qelGet(parts, i));
        addOneTextCriterion(field, qelGet(parts, last));
        return;
    }
    if (text == allValues) {
        removeCriterion(field);
        return;
    }
    addOneTextCriterion(field, text);
}

void DBQuery::filterNumeric(int32_t field, const qelValue& op, float x)
{
    if (m_criteria.type() != QEL_TABLE_TYPE)
        m_criteria = qelTable(4, 100, 75);
    if (op == " ") {
        removeCriterion(field);
        addField(field);
        return;
    }
    if (field < 1 || field >= recordLength())
        return;
    qelValue matches = qelNewIntList(4);
    for (int32_t i = 0; i < qelCount(m_records); ++i) {
        qelValue value = qelGet(qelGet(m_records, i), field);
        // A missing figure is no number: it satisfies no comparison.
        if (dbIsMissing(value))
            continue;
        float v = float(qelFloatValue(value));
        bool match = op == "<" ? v < x
            : op == "<="       ? v <= x
            : op == "="        ? v == x
            : op == ">="       ? v >= x
            : op == ">"        ? v > x
                               : false;
        if (match)
            qelAddItem(matches, qelMakeInt(i));
    }
    qelPut(m_criteria, dbFieldKey(field), matches);
    addField(field);
}

void DBQuery::removeCriterion(int32_t field)
{
    if (m_criteria.type() == QEL_TABLE_TYPE)
        qelRemoveKey(m_criteria, dbFieldKey(field));
}
