// The generic operations that count, index, slice and reach into collections.

#include "framework/runtime/Buffer.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/BuiltinsDispatch.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/ValuePrinter.h"

#include <string>

namespace {

qelValue emptyList()
{
    return qelMakeList(4, 100, QEL_GENERAL_LIST);
}

int32_t lengthOf(const qelStringObject* string)
{
    return string ? string->length() : 0;
}

// The first or last n items of a string or list, the slice chosen by the member given for each
// kind. A negative n counts back from the length; one still negative, or a null object, gives an
// empty result of the sequence's kind.
qelValue endSlice(const qelValue& sequence, int32_t n, qelValue (qelStringObject::*fromString)(int32_t) const,
    qelValue (qelListObject::*fromList)(int32_t) const, const char* signature)
{
    if (sequence.isString()) {
        qelStringObject* string = qelStringOf(sequence);
        if (n < 0)
            n += lengthOf(string);
        if (n < 0 || !string)
            return qelEmptyString();
        return (string->*fromString)(n);
    }
    if (sequence.type() == QEL_LIST_TYPE) {
        qelListObject* list = qelListObjectOf(sequence);
        if (n < 0 && list)
            n += list->count;
        if (n < 0 || !list)
            return emptyList();
        return (list->*fromList)(n);
    }
    qelArgTypeError(signature, 1);
    return qelNil;
}

} // namespace

int32_t qelCount(const qelValue& collection)
{
    switch (collection.type()) {
    case QEL_STRING_TYPE:
        return lengthOf(qelStringOf(collection));
    case QEL_BUFFER_TYPE: {
        qelBufferObject* buffer = qelBufferOf(collection);
        return buffer ? buffer->length : 0;
    }
    case QEL_LIST_TYPE: {
        qelListObject* list = qelListObjectOf(collection);
        return list ? list->count : 0;
    }
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(collection);
        return table ? table->count : 0;
    }
    case QEL_STREAM_TYPE: {
        auto* stream = collection.objectAs<qelStreamObject>();
        return stream ? stream->size() : 0;
    }
    case QEL_MOVIE_TYPE: {
        auto* movie = qelProtocolOf<qelMediaProtocol>(collection);
        return movie ? movie->length() : 0;
    }
    case QEL_ARCHIVE_TYPE: {
        auto* archive = qelProtocolOf<qelArchiveProtocol>(collection);
        return archive ? archive->count() : 0;
    }
    case QEL_INDEX_TYPE: {
        auto* index = qelProtocolOf<qelIndexProtocol>(collection);
        return index ? index->count() : 0;
    }
    default:
        qelArgTypeError("qelCount(collection)", 1);
        return 0;
    }
}

int32_t qelIndexOf(const qelValue& sequence, const qelValue& item, int32_t start)
{
    if (sequence.isString()) {
        if (item.type() != QEL_STRING_TYPE && item.type() != QEL_INT_TYPE) {
            qelError(
                ("qelIndexOf(s,hnd,QELINT): Cannot search for an object of type " + std::to_string(item.type()) + "\n")
                    .c_str());
            return -1;
        }
        qelStringObject* string = qelStringOf(sequence);
        return string ? string->findValue(item, start) : -1;
    }
    if (qelListObject* list = qelListObjectOf(sequence))
        return list->find(item, start);
    if (sequence.type() == QEL_LIST_TYPE)
        return -1;
    qelArgTypeError("qelIndexOf(s,hnd [,QELINT])", 1);
    return 0;
}

int32_t qelFirstIndex(const qelValue& collection)
{
    switch (collection.type()) {
    case QEL_LIST_TYPE:
        return 0;
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(collection);
        return table ? table->firstIndex() : -1;
    }
    default:
        qelArgTypeError("qelFirstIndex(collection)", 1);
        return 0;
    }
}

int32_t qelNextIndex(const qelValue& collection, int32_t index)
{
    switch (collection.type()) {
    case QEL_LIST_TYPE: {
        int32_t count = qelCount(collection);
        return index >= -1 && index < count - 1 ? index + 1 : -1;
    }
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(collection);
        return table ? table->nextIndex(index) : -1;
    }
    default:
        qelArgTypeError("qelNextIndex(collection,QELINT)", 1);
        return 0;
    }
}

int32_t qelCapacity(const qelValue& collection)
{
    switch (collection.type()) {
    case QEL_BUFFER_TYPE: {
        qelBufferObject* buffer = qelBufferOf(collection);
        return buffer ? buffer->size : 0;
    }
    case QEL_LIST_TYPE: {
        qelListObject* list = qelListObjectOf(collection);
        return list ? list->capacity : 0;
    }
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(collection);
        return table ? table->capacity : 0;
    }
    default:
        qelArgTypeError("qelCapacity(collection)", 1);
        return 0;
    }
}

qelValue qelLeft(const qelValue& sequence, int32_t n)
{
    return endSlice(sequence, n, &qelStringObject::left, &qelListObject::left, "qelLeft(stringOrList,QELINT,QELINT)");
}

qelValue qelRight(const qelValue& sequence, int32_t n)
{
    return endSlice(
        sequence, n, &qelStringObject::right, &qelListObject::right, "qelRight(stringOrList,QELINT,QELINT)");
}

qelValue qelMid(const qelValue& sequence, int32_t start, int32_t n)
{
    if (sequence.isString()) {
        qelStringObject* string = qelStringOf(sequence);
        return string ? string->mid(start, n) : qelEmptyString();
    }
    if (sequence.type() == QEL_LIST_TYPE) {
        qelListObject* list = qelListObjectOf(sequence);
        return list ? list->mid(start, n) : emptyList();
    }
    qelArgTypeError("qelMid(stringOrList,QELINT,QELINT)", 1);
    return qelNil;
}

qelValue qelGet(const qelValue& collection, int32_t index)
{
    qelValue target = qelResolvedValue(collection);
    switch (target.type()) {
    case QEL_LIST_TYPE: {
        qelListObject* list = qelListObjectOf(target);
        return list ? list->elementAt(index) : qelNil;
    }
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(target);
        return table ? table->valueAt(index) : qelNil;
    }
    case QEL_CONTROL_TYPE:
    case QEL_FORM_TYPE: {
        auto* properties = qelProtocolOf<qelPropertyProtocol>(target);
        return properties ? properties->propertyAt(index) : qelNil;
    }
    case QEL_ARCHIVE_TYPE: {
        auto* archive = qelProtocolOf<qelArchiveProtocol>(target);
        return archive ? archive->get(index) : qelNil;
    }
    case QEL_REFERENCE_TYPE:
        return qelNil;
    default:
        qelArgTypeError("qelGet(collection,QELINT)", 1);
        return qelNil;
    }
}

qelValue qelGet(const qelValue& collection, const qelValue& key)
{
    qelValue target = qelResolvedValue(collection);
    switch (target.type()) {
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(target);
        return table ? table->get(key) : qelNil;
    }
    case QEL_CONTROL_TYPE:
    case QEL_FORM_TYPE: {
        auto* properties = qelProtocolOf<qelPropertyProtocol>(target);
        return properties ? properties->getProperty(key) : qelNil;
    }
    case QEL_INDEX_TYPE: {
        auto* index = qelProtocolOf<qelIndexProtocol>(target);
        return index ? index->get(key) : qelNil;
    }
    case QEL_REFERENCE_TYPE:
        return qelNil;
    default:
        qelArgTypeError("qelGet(tableOrCtrlOrForm,hnd)", 1);
        return qelNil;
    }
}

void qelPut(const qelValue& collection, int32_t index, const qelValue& value)
{
    switch (collection.type()) {
    case QEL_LIST_TYPE:
        if (qelListObject* list = qelListObjectOf(collection))
            list->putAt(index, value);
        return;
    case QEL_ARCHIVE_TYPE:
        if (auto* archive = qelProtocolOf<qelArchiveProtocol>(collection))
            archive->put(index, value);
        return;
    default:
        qelArgTypeError("qelPut(lst,n,obj)", 1);
    }
}

void qelPut(const qelValue& collection, const qelValue& key, const qelValue& value)
{
    qelValue target = qelResolvedValue(collection);
    switch (target.type()) {
    case QEL_TABLE_TYPE:
        if (qelTableObject* table = qelTableOf(target))
            table->put(key, value);
        return;
    case QEL_CONTROL_TYPE:
    case QEL_FORM_TYPE:
        if (auto* properties = qelProtocolOf<qelPropertyProtocol>(target))
            properties->setProperty(key, value);
        return;
    case QEL_INDEX_TYPE:
        if (auto* index = qelProtocolOf<qelIndexProtocol>(target))
            index->put(key, value);
        return;
    case QEL_REFERENCE_TYPE:
        return;
    default:
        qelArgTypeError("qelPut(tblOrCtrlOrFrm,obj,obj)", 1);
    }
}

qelValue qelGetKey(const qelValue& table, int32_t index)
{
    qelValue target = qelResolvedValue(table);
    if (target.type() == QEL_TABLE_TYPE) {
        qelTableObject* object = qelTableOf(target);
        return object ? object->keyAt(index) : qelNil;
    }
    if (target.type() != QEL_REFERENCE_TYPE)
        qelArgTypeError("qelGetKey(tblOrCtrlOrFrm,QELINT)", 1);
    return qelNil;
}

void qelRemoveKey(const qelValue& collection, const qelValue& key)
{
    qelValue target = qelResolvedValue(collection);
    switch (target.type()) {
    case QEL_TABLE_TYPE:
        if (qelTableObject* table = qelTableOf(target))
            table->remove(key);
        return;
    case QEL_CONTROL_TYPE:
    case QEL_FORM_TYPE:
        if (auto* properties = qelProtocolOf<qelPropertyProtocol>(target))
            properties->removeProperty(key);
        return;
    case QEL_REFERENCE_TYPE:
        return;
    default:
        qelArgTypeError("qelRemoveKey(tblOrCtrlOrFrm,obj)", 1);
    }
}

int32_t qelContainsKey(const qelValue& collection, const qelValue& key)
{
    qelValue target = qelResolvedValue(collection);
    switch (target.type()) {
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(target);
        return table && table->find(key) >= 0 ? 1 : 0;
    }
    case QEL_CONTROL_TYPE:
    case QEL_FORM_TYPE: {
        auto* properties = qelProtocolOf<qelPropertyProtocol>(target);
        return properties ? properties->hasProperty(key) : 0;
    }
    case QEL_INDEX_TYPE: {
        auto* index = qelProtocolOf<qelIndexProtocol>(target);
        return index ? index->containsKey(key) : 0;
    }
    case QEL_REFERENCE_TYPE:
        return 0;
    default:
        qelArgTypeError("qelContainsKey(tblOrCtrlOrFrm,obj)", 1);
        return 0;
    }
}

int32_t qelGetInt(const qelValue& collection, const qelValue& key)
{
    return qelIntValue(qelGet(collection, key));
}

void qelAddItem(const qelValue& collection, const qelValue& item, int32_t times)
{
    switch (collection.type()) {
    case QEL_LIST_TYPE:
        if (qelListObject* list = qelListObjectOf(collection)) {
            for (int32_t i = 0; i < times; ++i)
                list->append(item);
        }
        return;
    case QEL_ARCHIVE_TYPE:
        if (auto* archive = qelProtocolOf<qelArchiveProtocol>(collection)) {
            for (int32_t i = 0; i < times; ++i)
                archive->add(item);
        }
        return;
    default:
        qelArgTypeError("qelAddItem(lstOrArchive,obj [,QELINT])", 1);
    }
}

qelValue& qelCellAt(const qelValue& sequence, int32_t index)
{
    // Handed out on every error. It is cleared each time, so nothing a caller wrote through it
    // shows up at the next error.
    static qelValue errorCell;
    errorCell = qelNil;
    switch (sequence.type()) {
    case QEL_LIST_TYPE: {
        qelListObject* list = qelListObjectOf(sequence);
        if (!list)
            return errorCell;
        if (list->kind() != QEL_GENERAL_LIST) {
            qelValue text = qelValueToString(sequence);
            qelError((std::string("Cannot directly reference elements in this list: ") + qelCString(text)).c_str());
            return errorCell;
        }
        if (index < 0 || index >= list->count) {
            qelError(("index out of range: " + std::to_string(index)).c_str());
            return errorCell;
        }
        return list->cell(index);
    }
    case QEL_TABLE_TYPE: {
        qelTableObject* table = qelTableOf(sequence);
        if (!table)
            return errorCell;
        if (index < 0 || index >= table->count) {
            qelError(("index out of range: " + std::to_string(index)).c_str());
            return errorCell;
        }
        return table->values[index];
    }
    default:
        qelArgTypeError("operator[](sequence,QELINT)", 1);
        return errorCell;
    }
}

qelValue& qelValue::operator[](int32_t index) const
{
    return qelCellAt(*this, index);
}
