// The field API: field-described records over the keyed records, their index entries per field,
// and the reuse of freed record numbers.

#include "recdb/Fields.h"

#include "recdb/EntryOrder.h"
#include "recdb/FieldCodec.h"

#include <vector>

namespace recdb {

namespace {

    constexpr int RecordIndex = 19;
    constexpr int FreedIndex = 18;
    const char emptyKey[1] = { 0 };

    // Whether `field` names a field of the list that has an index, as finding and stepping need.
    bool isIndexedField(const rdbField* f, int count, int32_t field)
    {
        return field >= 0 && field < count && isIndexed(f[field]);
    }

    int32_t addEntry(rdbHandle* h, const rdbField& d, const Key& key, int32_t number)
    {
        return d.order == 'U' ? rdbAdd(h, d.index, key.bytes, number, nullptr, 0)
                              : rdbInsert(h, d.index, key.bytes, number, nullptr, 0);
    }

    void clearCurrent(rdbHandle* h)
    {
        // A find past every entry of the index clears its position.
        rdbFind(h, RecordIndex, "\x01", 0, nullptr, 0);
    }

    int32_t makeCurrent(rdbHandle* h, int32_t number)
    {
        int32_t status = rdbFind(h, RecordIndex, emptyKey, number, nullptr, 0);
        if (status != 0) {
            clearCurrent(h);
            return status < 0 ? status : RDB_FAILED;
        }
        return 0;
    }

    int32_t giveBack(rdbHandle* h, Database& db, int32_t number)
    {
        int32_t status = rdbInsert(h, FreedIndex, emptyKey, number, nullptr, 0);
        if (!status) {
            ++db.header.freedRecords;
            db.headerChanged = true;
        }
        return status;
    }

    // Opens the layer's work on a handle: valid, and a checked list.
    int32_t begin(rdbHandle* h, const rdbField* f, Database*& db, int& count)
    {
        db = databaseOf(h);
        if (!db)
            return RDB_BAD_HANDLE;
        if (!f)
            return RDB_BAD_FIELD_TYPE;
        count = fieldCount(f);
        if (count >= MaxFields)
            return RDB_BAD_FIELD_TYPE;
        return checkList(*db, f, count);
    }

    // begin, refusing a change to a read-only file (-33), with the failure kept in the handle (a
    // bad handle has nowhere to keep it).
    int32_t enterList(rdbHandle* h, const rdbField* f, bool change, Database*& db, int& count)
    {
        int32_t status = begin(h, f, db, count);
        if (status == RDB_BAD_HANDLE)
            return status;
        if (!status && change && !db->writable)
            status = RDB_READ_ONLY;
        return status ? h->lastStatus = status : 0;
    }

    // enterList for finding and stepping through the index of one field, which must have one.
    int32_t enterField(rdbHandle* h, const rdbField* f, int32_t field, Database*& db, int& count)
    {
        int32_t status = enterList(h, f, false, db, count);
        if (status)
            return status;
        return isIndexedField(f, count, field) ? 0 : h->lastStatus = RDB_BAD_INDEX;
    }

    // After a find or a step that answered `result`: the record of the entry the index stands on
    // becomes current, or a failure clears the current record.
    int32_t settleOn(rdbHandle* h, int32_t result)
    {
        if (result < 0) {
            clearCurrent(h);
            return h->lastStatus = result;
        }
        int32_t status = makeCurrent(h, h->recordNumber);
        return h->lastStatus = status ? status : result;
    }

    int32_t readCurrent(rdbHandle* h, std::vector<uint8_t>& record)
    {
        record.assign(size_t(MaxRecord), 0);
        int32_t status = rdbReadCurrent(h, RecordIndex, record.data(), MaxRecord);
        if (status)
            return status;
        record.resize(size_t(h->dataLength));
        return 0;
    }

} // namespace

} // namespace recdb

using namespace recdb;

uint16_t rdbFieldSignature(const rdbField* fields)
{
    uint16_t s = 0;
    for (int i = 0; i < MaxFields && fields[i].type != 'E'; ++i) {
        for (uint8_t b : { fields[i].type, fields[i].keyType, fields[i].order, fields[i].index })
            s = static_cast<uint16_t>((s + int8_t(b)) * 2);
    }
    return s;
}

int32_t rdbFieldAdd(rdbHandle* h, const rdbField* f, int32_t kind)
{
    Database* db;
    int count;
    int32_t status = enterList(h, f, true, db, count);
    if (status)
        return status;
    std::vector<Key> keys;
    std::vector<uint8_t> record;
    if ((status = keysOf(*db, f, count, keys)) || (status = pack(*db, f, count, kind, record)))
        return h->lastStatus = status;

    int indexed = 0;
    for (int i = 0; i < count; ++i)
        indexed += isIndexed(f[i]);
    if (!(status = db->beginUpdate())) {
        int height = db->header.heightOf(db->tree(RecordIndex));
        status = db->endUpdate(db->reservePages((height + 1) * (indexed + 1) - 1));
    }
    if (status)
        return h->lastStatus = status;

    // A freed number first, else the next in sequence.
    int32_t number;
    if (rdbFirst(h, FreedIndex, nullptr, 0) == 0) {
        number = h->recordNumber;
        if ((status = rdbDelete(h, FreedIndex, emptyKey, number)))
            return status;
        --db->header.freedRecords;
        db->headerChanged = true;
    } else {
        if ((status = rdbNextSequence(h)))
            return status;
        number = h->recordNumber;
    }
    status = rdbInsert(h, RecordIndex, emptyKey, number, record.data(), int32_t(record.size()));
    int made = 0;
    for (; !status && made < count; ++made) {
        if (isIndexed(f[made]) && (status = addEntry(h, f[made], keys[size_t(made)], number)))
            break;
    }
    if (status) {
        // Undo: the entries made, the record, and the number goes back.
        int32_t failure = status;
        for (int i = 0; i < made; ++i) {
            if (isIndexed(f[i]))
                rdbDelete(h, f[i].index, keys[size_t(i)].bytes, number);
        }
        rdbDelete(h, RecordIndex, emptyKey, number);
        giveBack(h, *db, number);
        clearCurrent(h);
        return h->lastStatus = failure;
    }
    status = makeCurrent(h, number);
    h->recordNumber = number;
    return h->lastStatus = status;
}

int32_t rdbFieldRead(rdbHandle* h, const rdbField* f, int32_t* kind)
{
    Database* db;
    int count;
    int32_t status = enterList(h, f, false, db, count);
    if (status)
        return status;
    std::vector<uint8_t> record;
    if ((status = readCurrent(h, record)))
        return status;
    return h->lastStatus = unpack(*db, f, count, record.data(), int(record.size()), kind);
}

int32_t rdbFieldUpdate(rdbHandle* h, const rdbField* f)
{
    Database* db;
    int count;
    int32_t status = enterList(h, f, true, db, count);
    if (status)
        return status;
    std::vector<uint8_t> old;
    if ((status = readCurrent(h, old)))
        return status;
    int32_t number = h->recordNumber;
    Scratch scratch(f, count);
    int32_t kind = 0;
    std::vector<Key> oldKeys, newKeys;
    std::vector<uint8_t> record;
    if ((status = storedKeys(*db, scratch, count, old.data(), int(old.size()), &kind, oldKeys))
        || (status = keysOf(*db, f, count, newKeys)) || (status = pack(*db, f, count, kind, record)))
        return h->lastStatus = status;
    int changed = 0;
    for (; changed < count; ++changed) {
        size_t i = size_t(changed);
        if (!isIndexed(f[i]) || oldKeys[i] == newKeys[i])
            continue;
        if ((status = rdbDelete(h, f[i].index, oldKeys[i].bytes, number)))
            break;
        if ((status = addEntry(h, f[i], newKeys[i], number))) {
            addEntry(h, f[i], oldKeys[i], number);
            break;
        }
    }
    if (status) {
        // Undo the fields already changed.
        for (int j = 0; j < changed; ++j) {
            size_t i = size_t(j);
            if (!isIndexed(f[i]) || oldKeys[i] == newKeys[i])
                continue;
            rdbDelete(h, f[i].index, newKeys[i].bytes, number);
            addEntry(h, f[i], oldKeys[i], number);
        }
        makeCurrent(h, number);
        return h->lastStatus = status;
    }
    if ((status = rdbPut(h, RecordIndex, emptyKey, number, record.data(), int32_t(record.size()))))
        return status;
    return h->lastStatus = makeCurrent(h, number);
}

int32_t rdbFieldDelete(rdbHandle* h, const rdbField* f)
{
    Database* db;
    int count;
    int32_t status = enterList(h, f, true, db, count);
    if (status)
        return status;
    if (db->shared && (status = rdbLockRecord(h, RecordIndex)))
        return status;
    std::vector<uint8_t> record;
    if ((status = readCurrent(h, record)))
        return status;
    int32_t number = h->recordNumber;
    Scratch scratch(f, count);
    std::vector<Key> keys;
    if ((status = storedKeys(*db, scratch, count, record.data(), int(record.size()), nullptr, keys)))
        return h->lastStatus = status;
    for (int i = 0; i < count && !status; ++i) {
        if (isIndexed(f[i]))
            status = rdbDelete(h, f[i].index, keys[size_t(i)].bytes, number);
    }
    if (!status)
        status = rdbDelete(h, RecordIndex, emptyKey, number);
    if (!status)
        status = giveBack(h, *db, number);
    clearCurrent(h);
    return h->lastStatus = status;
}

int32_t rdbFieldFind(rdbHandle* h, const rdbField* f, int32_t field, int32_t mode)
{
    Database* db;
    int count;
    int32_t status = enterField(h, f, field, db, count);
    if (status)
        return status;
    Key key;
    if ((status = makeKey(*db, f, count, field, key.bytes, key.length)))
        return h->lastStatus = status;
    int index = f[field].index;
    int32_t found = rdbFind(h, index, key.bytes, 0, nullptr, 0);
    bool present = found == RDB_OK || found == RDB_FOUND_OTHER_RECORD;
    int32_t result = RDB_FAILED;
    switch (mode) {
    case 1:
        result = present ? 0 : RDB_FAILED;
        break;
    case 2:
        result = present ? rdbNext(h, index, nullptr, 0) : found == RDB_FOUND_FOLLOWING ? 0 : RDB_FAILED;
        break;
    case 3:
        result = present ? 0 : found == RDB_FOUND_FOLLOWING ? RDB_FOUND_FOLLOWING : RDB_FAILED;
        break;
    case 4:
    case 5:
        if (mode == 5 && present) {
            result = 0;
            break;
        }
        result = found == RDB_FAILED ? rdbLast(h, index, nullptr, 0)
            : found < RDB_FAILED     ? found
                                     : rdbPrevious(h, index, nullptr, 0);
        if (result == 0 && mode == 5)
            result = RDB_FOUND_BEFORE;
        break;
    default:
        result = RDB_BAD_ARGUMENT;
        break;
    }
    return settleOn(h, result);
}

int32_t rdbFieldStep(rdbHandle* h, const rdbField* f, int32_t field, int32_t how)
{
    Database* db;
    int count;
    int32_t status = enterField(h, f, field, db, count);
    if (status)
        return status;
    int index = f[field].index;
    switch (how) {
    case 1:
        status = rdbNext(h, index, nullptr, 0);
        break;
    case 2:
        status = rdbPrevious(h, index, nullptr, 0);
        break;
    case 3:
        status = rdbFirst(h, index, nullptr, 0);
        break;
    case 4:
        status = rdbLast(h, index, nullptr, 0);
        break;
    default:
        return h->lastStatus = RDB_BAD_ARGUMENT;
    }
    return settleOn(h, status);
}

int32_t rdbFieldCheckCurrent(rdbHandle* h)
{
    if (!databaseOf(h))
        return RDB_BAD_HANDLE;
    uint8_t head[5] = {};
    int32_t status = rdbReadCurrent(h, RecordIndex, head, sizeof head);
    if (status)
        return status;
    return h->dataLength >= 5 ? head[4] : int32_t(RDB_BAD_CHECK);
}

int32_t rdbFieldLock(rdbHandle* h)
{
    return rdbLockRecord(h, RecordIndex);
}

int32_t rdbFieldUnlock(rdbHandle* h)
{
    return rdbUnlockRecord(h, RecordIndex);
}

int32_t rdbFieldTestLock(rdbHandle* h)
{
    return rdbTestRecordLock(h, RecordIndex);
}

int32_t rdbFieldMakeKey(rdbHandle* h, const rdbField* f, int32_t field, uint8_t* key, int32_t* length)
{
    Database* db;
    int count;
    int32_t status = begin(h, f, db, count);
    if (status)
        return status;
    if (!isIndexedField(f, count, field) || !key)
        return RDB_BAD_INDEX;
    int n = 0;
    status = makeKey(*db, f, count, field, key, n);
    if (length)
        *length = n;
    return status;
}

int32_t rdbFieldReindex(rdbHandle* h, const rdbField* f)
{
    Database* db;
    int count;
    int32_t status = begin(h, f, db, count);
    if (status)
        return status;
    if (!db->writable)
        return RDB_READ_ONLY;
    // Every entry of the field indexes goes.
    for (int i = 0; i < count; ++i) {
        if (!isIndexed(f[i]))
            continue;
        while ((status = rdbFirst(h, f[i].index, nullptr, 0)) == 0) {
            if ((status = rdbDeleteCurrent(h, f[i].index)))
                return status;
        }
        if (status != RDB_FAILED)
            return status;
    }
    // Then each record gives its keys again.
    Scratch scratch(f, count);
    std::vector<uint8_t> record(static_cast<size_t>(MaxRecord));
    std::vector<Key> keys;
    for (status = rdbFirst(h, RecordIndex, record.data(), MaxRecord); status == 0;
         status = rdbNext(h, RecordIndex, record.data(), MaxRecord)) {
        int32_t number = h->recordNumber;
        int32_t s = storedKeys(*db, scratch, count, record.data(), h->dataLength, nullptr, keys);
        for (int i = 0; i < count && !s; ++i) {
            if (isIndexed(f[i]))
                s = addEntry(h, f[i], keys[size_t(i)], number);
        }
        if (s)
            return s;
        if ((s = makeCurrent(h, number)))
            return s;
    }
    if (status != RDB_FAILED)
        return status;
    int32_t freed = 0;
    for (status = rdbFirst(h, FreedIndex, nullptr, 0); status == 0; status = rdbNext(h, FreedIndex, nullptr, 0))
        ++freed;
    db->header.freedRecords = freed;
    db->headerChanged = true;
    clearCurrent(h);
    return status == RDB_FAILED ? 0 : status;
}
