#pragma once

// Archives: a numbered sequence of encoded values in one file (or any stream), addressed by index,
// with a directory of item offsets at the end. Items are appended or replaced without rewriting
// what is there; a replaced item's old bytes stay behind.
//
//   offset            size  field
//   0                 4     magic "0QEL" (30 51 45 4C), compared as one int32
//   4                 4     int32 directory offset
//   8                 ...   the items, each one encoded value, in the order they were written
//   directory offset  ...   the directory: one encoded int-list (08, int32 count, 03, count int32),
//                           element i the file offset of item i; always the last thing in the file
//
// A new, empty archive is 14 bytes: the magic, 08 00 00 00, and 08 00 00 00 00 03.
//
// Opening checks the file before trusting it: the magic, a directory that lies inside the file
// and is an int-list, and item offsets between the header and the directory. Anything else is
// refused as "Version mismatch -- cannot open archive".
//
// An archive written by name never changes its file in place: it works on a copy in memory, and
// each flush writes the whole archive to a temporary file beside it and renames that over the
// old file. A failed write thus leaves the old file as it was, and a successful one gives exactly
// the bytes above. Archives over a caller's stream write into that stream, directory last.

#include "framework/runtime/ObjectProtocols.h"
#include "framework/runtime/Value.h"
#include "platform/sys/File.h"

#include <string>

class qelArchiveObject final : public qelObject, public qelArchiveProtocol {
public:
    static constexpr int32_t magicNumber = 0x4C455130; // "0QEL"
    enum : int32_t { Writable = 1, Dirty = 2 };

    ~qelArchiveObject() override;

    // A new empty archive on a writable stream; false after an error.
    bool create(const qelValue& stream, int32_t capacity);
    // An existing archive on a stream; false after an error (nothing is read past a bad header).
    bool open(const qelValue& stream);

    void add(const qelValue& value) override;
    void put(int32_t index, const qelValue& value) override;
    qelValue get(int32_t index) override;
    // Writes the header's directory offset and the directory when they are out of date; for an
    // archive written by name, then replaces the file. False when a write failed (reported).
    bool flush();
    int32_t count() override;

    int32_t flags() const { return m_flags; }
    void setWritable() { m_flags |= Writable; }

private:
    friend qelValue qelCreateArchive(const qelValue&, int32_t);
    friend qelValue qelOpenArchive(const qelValue&, int32_t);

    bool commit();
    void lockFile();

    int32_t m_magic { 0 };
    int32_t m_directoryOffset { 0 };
    qelValue m_stream;
    qelValue m_offsets;
    int32_t m_flags { 0 };
    // For an archive written by name: the file it replaces, the end of the archive in the memory
    // copy, and the handle that keeps other openers out of the file meanwhile.
    std::string m_path;
    int32_t m_end { 0 };
    qelValue m_lockStream;
    platform::File m_lockFile;
};

// A new empty archive on a stream value, or on the named file (created or replaced when the
// archive is first flushed). Capacity is the directory's initial capacity (0 gives 4).
qelValue qelCreateArchive(const qelValue& streamOrName, int32_t capacity);
// An existing archive on a stream value or a named file, writable when asked; nil after an error.
qelValue qelOpenArchive(const qelValue& streamOrName, int32_t writable);
// The archive object of an archive value, or null.
qelArchiveObject* qelArchiveOf(const qelValue& value);
