#include "framework/runtime/Archive.h"

#include "framework/runtime/Encoding.h"
#include "framework/runtime/EncodingAccess.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/MemoryStream.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"

#include <string>

namespace {

constexpr const char* mismatch = "Version mismatch -- cannot open archive";
constexpr int32_t headerSize = 8;

void indexError(int32_t index)
{
    qelError(("Index out of range: " + std::to_string(index)).c_str());
}

void cannotOpen(const qelValue& name)
{
    qelError((std::string("qelFileStream: Cannot open ") + qelCString(name)).c_str());
}

} // namespace

qelArchiveObject::~qelArchiveObject()
{
    flush();
}

int32_t qelArchiveObject::count()
{
    return qelEncodingAccess::listCount(m_offsets);
}

bool qelArchiveObject::create(const qelValue& stream, int32_t capacity)
{
    m_stream = stream;
    m_magic = magicNumber;
    m_directoryOffset = headerSize;
    m_flags = Writable | Dirty;
    m_offsets = qelMakeList(capacity, 50, 3);
    // The directory itself is written by the first flush.
    qelStreamObject* s = qelStreamOf(stream);
    return s && s->seek(0) && qelWriteInt(stream, m_magic) && qelWriteInt(stream, headerSize);
}

bool qelArchiveObject::open(const qelValue& stream)
{
    m_stream = stream;
    m_flags = 0;
    qelStreamObject* s = qelStreamOf(stream);
    if (!s || !s->seek(0))
        return false;
    int32_t size = s->size();
    if (size < headerSize) {
        qelError(mismatch);
        return false;
    }
    m_magic = qelReadInt(stream);
    if (m_magic != magicNumber) {
        qelError(mismatch);
        return false;
    }
    m_directoryOffset = qelReadInt(stream);
    // Why: the directory must lie inside the file and be an int-list before any of it is
    // trusted; a file cut short while it was written, or no archive at all, stops here.
    if (m_directoryOffset < headerSize || m_directoryOffset > size - 6 || !s->seek(m_directoryOffset)) {
        qelError(mismatch);
        return false;
    }
    uint8_t head[6];
    if (s->read(head, 6) != 6 || head[0] != QEL_LIST_TYPE || head[5] != QEL_INT_LIST) {
        qelError(mismatch);
        return false;
    }
    int64_t entries = int64_t(uint32_t(head[1] | head[2] << 8 | head[3] << 16 | uint32_t(head[4]) << 24));
    if (entries > (int64_t(size) - m_directoryOffset - 6) / 4) {
        qelError(mismatch);
        return false;
    }
    s->seek(m_directoryOffset);
    qelValue offsets = qelDecode(stream);
    if (qelEncodingAccess::listKind(offsets) != QEL_INT_LIST || offsets.type() != QEL_LIST_TYPE) {
        qelError(mismatch);
        return false;
    }
    int32_t n = qelEncodingAccess::listCount(offsets);
    for (int32_t i = 0; i < n; ++i) {
        int32_t offset = qelEncodingAccess::intAt(offsets, i);
        if (offset < headerSize || offset >= m_directoryOffset) {
            qelError(mismatch);
            return false;
        }
    }
    // The directory keeps growing by half as items are added.
    if (qelListObject* list = qelListObjectOf(offsets))
        list->growth = 50;
    m_offsets = offsets;
    return true;
}

void qelArchiveObject::add(const qelValue& value)
{
    if (!(m_flags & Writable)) {
        qelError("Cannot add item to read-only archive");
        return;
    }
    qelStreamObject* s = qelStreamOf(m_stream);
    if (!s)
        return;
    // The item goes where the directory stood; the directory moves behind it at the next flush.
    m_flags |= Dirty;
    if (!s->seek(m_directoryOffset) || !qelEncode(m_stream, value))
        return; // reported; the half-written item is not entered and is overwritten later
    qelEncodingAccess::append(m_offsets, qelMakeInt(m_directoryOffset));
    m_directoryOffset = s->tell();
}

void qelArchiveObject::put(int32_t index, const qelValue& value)
{
    if (!(m_flags & Writable)) {
        qelError("Cannot put to read-only archive");
        return;
    }
    if (index < 0 || index >= count()) {
        indexError(index);
        return;
    }
    qelStreamObject* s = qelStreamOf(m_stream);
    if (!s)
        return;
    m_flags |= Dirty;
    if (!s->seek(m_directoryOffset) || !qelEncode(m_stream, value))
        return;
    if (qelListObject* list = qelListObjectOf(m_offsets))
        list->putAt(index, qelMakeInt(m_directoryOffset));
    m_directoryOffset = s->tell();
}

qelValue qelArchiveObject::get(int32_t index)
{
    if (index < 0 || index >= count()) {
        indexError(index);
        return qelNil;
    }
    qelStreamObject* s = qelStreamOf(m_stream);
    if (!s || !s->seek(qelEncodingAccess::intAt(m_offsets, index)))
        return qelNil;
    return qelDecode(m_stream);
}

bool qelArchiveObject::flush()
{
    if (!(m_flags & Writable) || !(m_flags & Dirty))
        return true;
    qelStreamObject* s = qelStreamOf(m_stream);
    if (!s)
        return false;
    m_flags &= ~Dirty;
    bool ok = s->seek(4) && qelWriteInt(m_stream, m_directoryOffset) && s->seek(m_directoryOffset)
        && qelEncode(m_stream, m_offsets);
    m_end = s->tell();
    if (ok && !m_path.empty())
        return commit();
    if (ok && !s->flush()) {
        qelError("Cannot write QELBYTE to stream");
        ok = false;
    }
    return ok;
}

bool qelArchiveObject::commit()
{
    auto* image = static_cast<qelMemoryStream*>(qelStreamOf(m_stream));
    std::string temporary = m_path + ".tmp";
    bool ok;
    {
        qelFileStream out(temporary.c_str(), 0x0A);
        ok = out.isOpen() && out.write(image->data(), m_end) == m_end && out.flush();
    }
    if (ok) {
        // The old file is kept open until the new one has taken its name.
        m_lockStream = qelNil;
        m_lockFile.close();
        ok = platform::File::rename(temporary, m_path);
    }
    if (!ok) {
        platform::File::remove(temporary);
        m_flags |= Dirty;
        qelError("Cannot write QELBYTE to stream");
    }
    lockFile();
    return ok;
}

void qelArchiveObject::lockFile()
{
    if (m_lockStream.object() || m_lockFile.isOpen())
        return;
    platform::FileOpenOptions options;
    options.share = platform::FileShare::None;
    m_lockFile = platform::File::open(m_path, options);
}

qelArchiveObject* qelArchiveOf(const qelValue& value)
{
    if (value.type() != QEL_ARCHIVE_TYPE)
        return nullptr;
    return static_cast<qelArchiveObject*>(value.object());
}

qelValue qelCreateArchive(const qelValue& streamOrName, int32_t capacity)
{
    auto* archive = new qelArchiveObject;
    qelValue result = qelMakeObjectValue(QEL_ARCHIVE_TYPE, archive);
    if (streamOrName.type() == QEL_STREAM_TYPE) {
        if (!qelStreamIsWritable(streamOrName)) {
            qelError("Cannot create archive from read-only stream");
            return qelNil;
        }
        return archive->create(streamOrName, capacity) ? result : qelNil;
    }
    // By name: the archive is built in memory and replaces the file when flushed. The file is
    // held meanwhile, and the folder must take a new file now, as creating it would need.
    archive->m_path = qelPlatformPath(streamOrName);
    bool usable = !archive->m_path.empty();
    if (usable && platform::File::exists(archive->m_path)) {
        archive->lockFile();
        usable = archive->m_lockFile.isOpen();
    }
    if (usable) {
        std::string probe = archive->m_path + ".tmp";
        qelFileStream test(probe.c_str(), 0x0A);
        usable = test.isOpen();
        if (usable)
            platform::File::remove(probe);
    }
    if (!usable) {
        archive->m_path.clear();
        cannotOpen(streamOrName);
        return qelNil;
    }
    return archive->create(qelNewMemoryStream(nullptr, 0), capacity) ? result : qelNil;
}

qelValue qelOpenArchive(const qelValue& streamOrName, int32_t writable)
{
    auto* archive = new qelArchiveObject;
    qelValue result = qelMakeObjectValue(QEL_ARCHIVE_TYPE, archive);
    if (streamOrName.type() == QEL_STREAM_TYPE) {
        if (writable && !qelStreamIsWritable(streamOrName)) {
            qelError("Cannot create writable archive from read-only stream");
            return qelNil;
        }
        if (!archive->open(streamOrName))
            return qelNil;
        if (writable)
            archive->setWritable();
        return result;
    }
    qelValue file = qelOpenFileStream(streamOrName, writable ? 3 : 1, 0);
    if (file.isNil() || !archive->open(file))
        return qelNil;
    if (!writable)
        return result;
    // Writable by name: work on a copy in memory; the open file keeps others out until replaced.
    qelStreamObject* s = qelStreamOf(file);
    int32_t size = s->size();
    qelValue image = qelNewMemoryStream(nullptr, size);
    s->seek(0);
    std::string bytes(static_cast<size_t>(size), '\0');
    if (s->read(reinterpret_cast<uint8_t*>(bytes.data()), size) != size
        || qelStreamOf(image)->write(reinterpret_cast<const uint8_t*>(bytes.data()), size) != size) {
        qelError("Cannot read QELBYTE from stream");
        return qelNil;
    }
    archive->m_stream = image;
    archive->m_lockStream = file;
    archive->m_path = qelPlatformPath(streamOrName);
    archive->setWritable();
    return result;
}
