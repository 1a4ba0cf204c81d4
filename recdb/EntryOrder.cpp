#include "recdb/EntryOrder.h"

#include "recdb/KeyCompare.h"

namespace recdb {

Database* databaseOf(rdbHandle* h)
{
    if (!h || h->letterV != 'V' || h->letterA1 != 'A' || h->letterL != 'L' || h->letterI != 'I' || h->letterD != 'D'
        || h->letterA2 != 'A' || h->letterT != 'T' || h->letterE != 'E' || h->state != 'O' || !h->database)
        return nullptr;
    h->database->handle = h;
    h->keyOrder = 1;
    return h->database;
}

int compareEntries(const Database& db, const uint8_t* a, const uint8_t* b)
{
    int d = threeWay(entryIndex(a), entryIndex(b));
    if (d)
        return d;
    int index = entryIndex(a);
    bool unordered = false;
    d = compareKeys(db.keys.type[index], entryKey(a), entryKeyLength(a, db.keys), entryKey(b),
        entryKeyLength(b, db.keys), db.keys.segments[index], &unordered);
    if (d)
        return d < 0 ? -1 : 1;
    d = threeWay(entryRecord(a), entryRecord(b));
    if (d)
        return d;
    return threeWay(entryPiece(a), entryPiece(b));
}

bool entryFollows(const Database& db, const uint8_t* previous, const uint8_t* next)
{
    if (!previous)
        return entryPiece(next) == 0;
    if (entryIndex(next) < entryIndex(previous))
        return false;
    bool sameRecord = false;
    if (entryIndex(next) == entryIndex(previous)) {
        int index = entryIndex(next);
        bool unordered = false;
        int d = compareKeys(db.keys.type[index], entryKey(next), entryKeyLength(next, db.keys), entryKey(previous),
            entryKeyLength(previous, db.keys), db.keys.segments[index], &unordered);
        if (d < 0)
            return false;
        if (d == 0) {
            if (entryRecord(next) < entryRecord(previous))
                return false;
            sameRecord = entryRecord(next) == entryRecord(previous);
        }
    }
    if (sameRecord)
        return !entryIsLast(previous) && entryPiece(next) == entryPiece(previous) + 1;
    return entryIsLast(previous) && entryPiece(next) == 0;
}

int32_t insertRawEntry(Database& db, const uint8_t* entry)
{
    SearchTarget t = targetOfEntry(entry, db.keys, entryPiece(entry));
    // Why: the entry comes from another file; its key must be one this file can store.
    if (t.index < 1 || t.index > MaxIndex || t.keyLength < 1 || t.keyLength > MaxKeyLength)
        return RDB_DAMAGED;
    int32_t status = db.beginUpdate();
    if (status)
        return status;
    return db.endUpdate(db.insertEntry(entry, t));
}

} // namespace recdb
