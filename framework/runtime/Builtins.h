#pragma once

// The generic value operations: free functions that take values of any type and dispatch on the
// type code. Each names itself in its argument type errors by the signature string quoted in its
// comment ("Bad type for argument 1 of <signature>."); after such an error it returns its neutral
// result (0, nil or the empty result).
//
// A reference value (type 26) is first resolved to the value it names where noted. Types that
// belong to later layers (streams, sounds, movies, controls, forms, archives, indexes, regions,
// references) are reached through the interfaces of ObjectProtocols.h and IndexProtocol.h; an
// object that does not offer its interface gives the neutral result without a report.

#include "framework/runtime/Value.h"

#include <cstdint>

// "qelCount(collection)": the length of a string, the used length of a buffer, the count of a
// list, table, archive or index, the size of a stream, the length of a movie.
int32_t qelCount(const qelValue& collection);
// "qelIndexOf(s,hnd [,QELINT])": a substring or character in a string, an element in a list,
// from `start`; -1 when absent.
int32_t qelIndexOf(const qelValue& sequence, const qelValue& item, int32_t start = 0);
// "qelFirstIndex(collection)" and "qelNextIndex(collection,QELINT)": iteration over a list
// (0, 1, ... count-1, then -1) or over a table's occupied slots.
int32_t qelFirstIndex(const qelValue& collection);
int32_t qelNextIndex(const qelValue& collection, int32_t index);
// "qelCapacity(collection)": a buffer's size, a list's or a table's capacity.
int32_t qelCapacity(const qelValue& collection);

// "qelLeft(stringOrList,QELINT,QELINT)", "qelRight(...)": the first or last n characters or
// elements; a negative n counts from the end. "qelMid(...)": n from start.
qelValue qelLeft(const qelValue& sequence, int32_t n);
qelValue qelRight(const qelValue& sequence, int32_t n);
qelValue qelMid(const qelValue& sequence, int32_t start, int32_t n);

// "qelIntValue(numberOrString)", "qelFloatValue(numberOrString)": booleans, numbers and the
// leading number of a string. "qelBool(stringOrBoolOrInt)": the same as an int value.
int32_t qelIntValue(const qelValue& value);
double qelFloatValue(const qelValue& value);
qelValue qelBool(const qelValue& value);
// Truth: nil and floats are false; booleans and ints when nonzero; strings when they begin with
// T, t, Y or y; every other value is true.
bool qelIsTrue(const qelValue& value);

// "qelGet(collection,QELINT)": element n of a list, the value in slot n of a table or of a
// control's or form's properties, item n of an archive. References resolved.
qelValue qelGet(const qelValue& collection, int32_t index);
// "qelGet(tableOrCtrlOrForm,hnd)": the value stored under the key (nil when absent).
qelValue qelGet(const qelValue& collection, const qelValue& key);
// "qelPut(lst,n,obj)": replaces element n of a list or item n of an archive.
void qelPut(const qelValue& collection, int32_t index, const qelValue& value);
// "qelPut(tblOrCtrlOrFrm,obj,obj)": stores the value under the key.
void qelPut(const qelValue& collection, const qelValue& key, const qelValue& value);
// "qelGetKey(tblOrCtrlOrFrm,QELINT)": the key in slot n of a table.
qelValue qelGetKey(const qelValue& table, int32_t index);
// "qelRemoveKey(tblOrCtrlOrFrm,obj)".
void qelRemoveKey(const qelValue& collection, const qelValue& key);
// "qelContainsKey(tblOrCtrlOrFrm,obj)": nonzero when the key is present.
int32_t qelContainsKey(const qelValue& collection, const qelValue& key);
// qelGet by key, then qelIntValue.
int32_t qelGetInt(const qelValue& collection, const qelValue& key);
// "qelAddItem(lstOrArchive,obj [,QELINT])": appends the item `times` times (none when 0 or less).
void qelAddItem(const qelValue& collection, const qelValue& item, int32_t times = 1);

// "qelGetChars(stringOrBuf,QELCHAR QELPTR,QELINT)": copies the text into an array of `size`
// bytes with a NUL. A string is copied only whole; a buffer is cut to fit. 1 on success.
int32_t qelGetChars(const qelValue& source, char* destination, int32_t size);
// "qelTokenize(stringOrBuffer,string)": a list of the texts between delimiter characters,
// empty texts included.
qelValue qelTokenize(const qelValue& source, const qelValue& delimiters);
// "qelCopy( LstTblStr )": a deep copy. Strings, buffers, lists and tables are copied (lists and
// tables element by element by this same rule); nil, fonts, images, sounds, movies and
// references are shared; regions copy themselves.
qelValue qelCopy(const qelValue& value);
// "qelAdd(listOrString,listOrString)": the two texts joined; the side that is not a string is
// turned into its display text. Lists are never concatenated.
qelValue qelAdd(const qelValue& a, const qelValue& b);
qelValue operator+(const qelValue& a, const qelValue& b);
qelValue operator+(const qelValue& a, int b);
qelValue operator+(const char* a, const qelValue& b);

// "operator[](sequence,QELINT)": the cell of element n of a general list, or of the value in
// slot n of a table (n below its count), for reading or writing in place. On any error the
// result is a private cell holding nil.
qelValue& qelCellAt(const qelValue& sequence, int32_t index);

// Play controls of sounds and movies; references resolved.
// "qelPlay(movOrSnd [,QELINT,QELINT,QELBOOL])"
int32_t qelPlay(const qelValue& media, int32_t from = 0, int32_t to = -1, int32_t repeat = 0);
// "qelStop(movOrSnd)", "qelIsPlaying(movOrSnd)"
int32_t qelStop(const qelValue& media);
int32_t qelIsPlaying(const qelValue& media);
// "qelShow(movie)", "qelHide(mov)", "qelMove(mov)", "qelSetSize(mov)"
int32_t qelShow(const qelValue& movie);
int32_t qelHide(const qelValue& movie);
int32_t qelMove(const qelValue& movie, int32_t x, int32_t y);
int32_t qelSetSize(const qelValue& movie, int32_t width, int32_t height);
