#pragma once

// qelIndexObject: the keyed persistent store behind index values (type 25). It maps keys to
// values over index 1 of one record file: an item's key is the display text of the key value (a
// string stands for itself, an int for its decimal digits; texts above 240 characters are cut to
// their first 239), its data the value in the binary encoding.
//
// The item under the count key "__QEL_INDEX_COUNT__" holds the number of items as an int, the
// count item itself included. It is an ordinary item, so prefix scans can meet it.
//
// The file stays open, exclusively, for the object's whole life; a writable object writes the
// count back when it is destroyed. Failures are reported through qelError with the messages
// "Cannot create index", "Cannot open index for writing", "Cannot open index", "Cannot put
// objects into a read-only index" and "Cannot put item into index"; when the error hook returns,
// an object whose file could not be opened answers as an empty index.

#include "framework/runtime/IndexProtocol.h"
#include "framework/runtime/Value.h"
#include "recdb/RecDb.h"

#include <cstdint>
#include <string>

// A scan asks it after each element; nonzero ends the scan.
using qelIndexStopFunction = int32_t (*)();

class qelIndexObject final : public qelObject, public qelIndexProtocol {
public:
    static constexpr int32_t bufferSize = 30000;
    static constexpr const char* countKey = "__QEL_INDEX_COUNT__";

    // Creates a new file when create is nonzero, else opens an existing one for writing or for
    // reading only; check runs the verification on a writable open (its result is not used).
    qelIndexObject(const qelValue& name, int32_t create, int32_t writable, int32_t check);
    ~qelIndexObject() override;

    // The number of items, the count item included.
    int32_t count() override;
    void put(const qelValue& key, const qelValue& value) override;
    virtual int32_t contains(const qelValue& key);
    // The value stored under the key; nil when absent or stored with empty data.
    qelValue get(const qelValue& key) override;
    // The values, or the keys, of the items whose keys begin with the prefix, in key order; nil
    // when there are none.
    virtual qelValue valuesWithPrefix(const qelValue& prefix, qelIndexStopFunction stop);
    virtual qelValue keysWithPrefix(const qelValue& prefix, qelIndexStopFunction stop);

    int32_t containsKey(const qelValue& key) override { return contains(key); }

    // The library handle, for tools that check or dump the file.
    rdbHandle& handle() { return m_handle; }

private:
    qelValue scan(const qelValue& prefix, qelIndexStopFunction stop, bool values);
    qelValue decodeBuffer();
    int32_t readCount();

    rdbHandle m_handle;
    int32_t m_readOnly { 1 };
    int32_t m_bufferSize { bufferSize };
    uint8_t* m_buffer { nullptr };
    int32_t m_count { 0 };
};

// Opens an existing index file (name: a string value holding its path, cp1252, with either
// separator and any letter case, as located content names are). Answers an index value, holding
// no object when memory was refused.
qelValue qelOpenIndex(const qelValue& name, int32_t writable, int32_t check);
// Creates a new index file holding only the count item.
qelValue qelCreateIndex(const qelValue& name);
// The index object of an index value, or null.
qelIndexObject* qelIndexObjectOf(const qelValue& index);
// The bytes under which a key value is stored: its display text, cut as described above.
std::string qelIndexKeyText(const qelValue& key);
// valuesWithPrefix of the index value's object; nil for any other value.
qelValue qelIndexValuesWithPrefix(const qelValue& index, const qelValue& prefix, qelIndexStopFunction stop);
