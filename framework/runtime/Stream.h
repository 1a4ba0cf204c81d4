#pragma once

// Streams: the one byte-stream interface under the binary encoding, archives, binary resources
// and whole-file loads. Two implementations: qelFileStream (buffered, over a platform file) and
// qelMemoryStream (over a block that can grow). A stream is held in a value of type 10; its last
// release closes it.
//
// All positions, sizes and counts are signed 32-bit numbers. Reads and writes report trouble
// through their counts (0 or short); callers that need exact counts raise their own errors.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelStreamObject : public qelObject {
public:
    // Virtual operations after the root's, in this order.
    virtual int32_t isWritable() const = 0;
    virtual int32_t isOpen() const = 0;
    virtual int32_t atEnd() const = 0;
    virtual int32_t size() const = 0;
    virtual int32_t tell() const = 0;
    // Nonzero on success.
    virtual int32_t seek(int32_t position) = 0;
    // The next byte as 0 to 255, or -1 when none can be read.
    virtual int32_t readByte() = 0;
    // The number of bytes delivered: 0 at the end or on failure.
    virtual int32_t read(uint8_t* bytes, int32_t count) = 0;
    // Nonzero when the byte was taken.
    virtual int32_t writeByte(uint8_t byte) = 0;
    // The number of bytes taken.
    virtual int32_t write(const uint8_t* bytes, int32_t count) = 0;
    // Pushes buffered bytes to the medium; nonzero when every byte written so far got there.
    virtual int32_t flush() = 0;
};

// The stream object of a stream value, or null for any other value.
qelStreamObject* qelStreamOf(const qelValue& stream);

int32_t qelStreamIsWritable(const qelValue& stream);
int32_t qelStreamIsOpen(const qelValue& stream);
int32_t qelStreamTell(const qelValue& stream);
int32_t qelStreamFlush(const qelValue& stream);
// On a stream: seek to the position (an int). On a list of values: removes every element equal
// to the argument and answers how many were removed (callers use it so).
int32_t qelStreamSeek(const qelValue& streamOrList, const qelValue& argument);

// Writes all bytes of a string (its characters, no terminator) or a buffer (its used length);
// true when more than 0 bytes were taken.
bool qelWrite(const qelValue& stream, const qelValue& bufOrString);
// Reads at most the buffer's capacity into it and sets its used length to the count read; true
// when more than 0 bytes came.
bool qelReadStreamToBuffer(const qelValue& stream, const qelValue& buffer);

// True when the file exists. Deletes the file, true on success. Names are string values.
bool qelFileExists(const qelValue& name);
bool qelDeleteFile(const qelValue& name);
