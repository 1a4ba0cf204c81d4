#pragma once

// The binary encoding of values: compiled resources, archive items, user data files and index
// records. One type byte, then a body; numbers little-endian, ints two's complement, floats IEEE
// single precision; no header, no overall length, no alignment.
//
//   byte  value                 body
//   0     nil                   -
//   2     boolean               int32 payload (read only; true and false are written as 1E, 1F)
//   3     int                   int32
//   4     float                 float32
//   6     string                int32 length n, n bytes (no terminator)
//   7     buffer                int32 length n, n bytes
//   8     list                  int32 count, byte kind; kind 3 (int-list): count int32; any other
//                               kind: count encoded values
//   9     table                 int32 capacity, int32 count, count pairs (encoded key, encoded value)
//                               in slot order
//   0B    region                int32 left, top, right, bottom, int32 n, n points (int32 x, y);
//                               n = 0 for a rectangle; a polygon's closing point is not written
//   10    font                  encoded name, int32 point size, int32 style bits
//   11    text map              int32, int32, encoded value, encoded value
//   12    image                 encoded type name, encoded data
//   13    sound                 encoded type name, int32 in-memory flag, encoded source
//   16    control               encoded property table
//   17    form                  encoded data table
//   1A    reference             encoded resource name
//   1D    date                  int32 date word, int32 time word
//   1E    true                  -
//   1F    false                 -
//   20    small int             1 signed byte     (-127 to 127)
//   21    medium int            int16             (-32767 to 32767)
//   22    short string          byte length n, n bytes (n below 256)
//   23    short list of values  byte count, count encoded values (kind 5, capacity below 256)
//
// Every other type (unique, stream, cursor, movie, archive, index, ...) has no encoding.
//
// Reading bytes that come from files, the decoder never trusts them: every length and count is
// checked against the bytes the stream still holds before anything is allocated, table capacities
// draw on a budget tied to the input's size, and nesting is limited, so a damaged or hostile file
// gives an error and nil, never a crash, a hang or a huge allocation.

#include "framework/runtime/Value.h"

#include <cstdint>

// Writes the value. Types without an encoding report "Cannot encode this type: " + the type name
// (their type byte is written, no body follows) and the encoding goes on. Answers true when every
// byte reached the stream and nothing was reported.
bool qelEncode(const qelValue& stream, const qelValue& value);
// Reads one value; nil after an error.
qelValue qelDecode(const qelValue& stream);

// Primitives: each moves an exact count through the stream and reports a short transfer.
bool qelWriteInt(const qelValue& stream, int32_t n);
bool qelWriteShort(const qelValue& stream, int32_t n);
bool qelWriteByte(const qelValue& stream, int32_t n);
bool qelWriteFloat(const qelValue& stream, float f);
// After a short read these answer 0.
int32_t qelReadInt(const qelValue& stream);
int32_t qelReadShort(const qelValue& stream);
int32_t qelReadByte(const qelValue& stream);
float qelReadFloat(const qelValue& stream);

// The deepest nesting of lists, tables and objects that the encoder writes and the decoder reads.
constexpr int32_t qelMaximumEncodingDepth = 200;
