#include "framework/runtime/FileStream.h"

#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/Directory.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr int32_t maximumPathLength = 255;

} // namespace

qelFileStream::qelFileStream(const char* path, int32_t mode)
{
    // Mode bit 8 (create) implies writing; so does bit 2.
    m_flags = mode & (Readable | Writable | TextMode | Create);
    if (mode & Create)
        m_flags |= Writable;

    platform::FileOpenOptions options;
    options.access = (m_flags & Writable) ? platform::FileAccess::ReadWrite : platform::FileAccess::Read;
    options.share = platform::FileShare::None;
    options.disposition
        = (mode & Create) ? platform::FileDisposition::CreateAlways : platform::FileDisposition::OpenExisting;
    m_file = platform::File::open(path, options);
    if (!m_file.isOpen())
        return;
    int64_t length = m_file.size();
    // Why: sizes and positions are 32-bit; a longer file cannot be addressed.
    if (length < 0 || length > std::numeric_limits<int32_t>::max()) {
        m_file.close();
        return;
    }
    m_size = int32_t(length);
    m_filePosition = 0;
    m_position = 0;
    setBufferSize(defaultBufferSize);
}

qelFileStream::~qelFileStream()
{
    if (isOpen()) {
        flush();
        m_file.close();
    }
    if (m_buffer)
        qelFree(m_buffer, size_t(m_bufferSize));
    if (m_conversion)
        qelFree(m_conversion, size_t(m_bufferSize) * 2);
}

void qelFileStream::setBufferSize(int32_t size)
{
    flush();
    if (m_buffer)
        qelFree(m_buffer, size_t(m_bufferSize));
    if (m_conversion)
        qelFree(m_conversion, size_t(m_bufferSize) * 2);
    m_conversion = nullptr;
    m_bufferSize = std::max(size, 1);
    m_buffer = static_cast<uint8_t*>(qelAlloc(size_t(m_bufferSize)));
    if (m_flags & TextMode)
        m_conversion = static_cast<uint8_t*>(qelAlloc(size_t(m_bufferSize) * 2));
    m_bufferStart = m_bufferEnd = 0;
    m_flags &= ~(BufferValid | Dirty);
    m_writeBuffer = false;
}

int32_t qelFileStream::seek(int32_t position)
{
    if (!isOpen())
        return 0;
    if (!(m_flags & SeekPending) && position == m_position)
        return 1;
    m_seekTarget = position;
    m_flags |= SeekPending;
    return 1;
}

bool qelFileStream::carryOutPendingSeek()
{
    if (!(m_flags & SeekPending))
        return true;
    bool written = writeBuffer();
    m_flags &= ~(SeekPending | BufferValid);
    m_writeBuffer = false;
    if (!written || !sysSeek(m_seekTarget))
        return false;
    m_position = m_seekTarget;
    return true;
}

bool qelFileStream::syncFilePosition()
{
    return m_filePosition == m_position || sysSeek(m_position);
}

bool qelFileStream::writeBuffer()
{
    if (!(m_flags & Dirty))
        return true;
    int32_t count = m_position - m_bufferStart;
    // The dirty bytes go back where they came from, whatever the file pointer did meanwhile.
    if (m_filePosition != m_bufferStart && !sysSeek(m_bufferStart)) {
        m_failed = true;
        return false;
    }
    if (writeRaw(m_buffer, count) != count) {
        m_failed = true;
        return false;
    }
    m_flags &= ~Dirty;
    m_bufferStart = m_position;
    m_bufferEnd = m_bufferStart + m_bufferSize;
    return true;
}

int32_t qelFileStream::read(uint8_t* bytes, int32_t count)
{
    if (!isOpen() || count <= 0 || !carryOutPendingSeek())
        return 0;
    if (m_writeBuffer) {
        // Reading right after writing: the written bytes go out first, then reading resumes at
        // the logical position.
        bool written = writeBuffer();
        m_flags &= ~BufferValid;
        m_writeBuffer = false;
        if (!written || !syncFilePosition())
            return 0;
    }

    int32_t done = 0;
    if (count > 2 * m_bufferSize) {
        if ((m_flags & BufferValid) && m_position >= m_bufferStart && m_position < m_bufferEnd) {
            int32_t n = std::min(count, m_bufferEnd - m_position);
            std::memcpy(bytes, m_buffer + (m_position - m_bufferStart), size_t(n));
            m_position += n;
            done = n;
        } else if (!(m_flags & TextMode) && !syncFilePosition()) {
            return 0;
        }
        if (done < count) {
            int32_t n = readRaw(bytes + done, count - done);
            if (n > 0) {
                done += n;
                m_position += n;
            }
        }
        m_flags &= ~BufferValid;
        return done;
    }

    while (done < count) {
        if (!(m_flags & BufferValid) || m_position >= m_bufferEnd) {
            if (!(m_flags & TextMode) && !syncFilePosition())
                break;
            m_bufferStart = m_filePosition;
            int32_t n = readRaw(m_buffer, m_bufferSize);
            if (n <= 0) {
                m_flags &= ~BufferValid;
                break;
            }
            m_position = m_bufferStart;
            m_bufferEnd = m_bufferStart + n;
            m_flags |= BufferValid;
        }
        int32_t n = std::min(count - done, m_bufferEnd - m_position);
        std::memcpy(bytes + done, m_buffer + (m_position - m_bufferStart), size_t(n));
        m_position += n;
        done += n;
    }
    return done;
}

int32_t qelFileStream::write(const uint8_t* bytes, int32_t count)
{
    if (!isOpen() || count <= 0 || !(m_flags & Writable) || m_failed || !carryOutPendingSeek())
        return 0;
    // Why: the position must stay within 32 bits.
    count = int32_t(std::min<int64_t>(count, int64_t(std::numeric_limits<int32_t>::max()) - m_position));
    if ((m_flags & BufferValid) && !m_writeBuffer)
        m_flags &= ~BufferValid; // the buffer held bytes read: writing starts afresh at the position

    int32_t taken = 0;
    while (taken < count) {
        if (!(m_flags & BufferValid)) {
            if (!syncFilePosition())
                break;
            m_bufferStart = m_position;
            m_bufferEnd = m_bufferStart + m_bufferSize;
            m_flags |= BufferValid;
            m_writeBuffer = true;
        }
        int32_t rest = count - taken;
        if (m_position == m_bufferStart && rest >= m_bufferSize) {
            // Whole buffers' worth go straight to the file.
            int32_t chunk = rest - rest % m_bufferSize;
            if (!syncFilePosition()) {
                m_failed = true;
                break;
            }
            int32_t n = std::max(writeRaw(bytes + taken, chunk), 0);
            m_position += n;
            taken += n;
            m_bufferStart = m_position;
            m_bufferEnd = m_bufferStart + m_bufferSize;
            if (n != chunk) {
                m_failed = true;
                break;
            }
            continue;
        }
        int32_t n = std::min(rest, m_bufferEnd - m_position);
        std::memcpy(m_buffer + (m_position - m_bufferStart), bytes + taken, size_t(n));
        m_position += n;
        taken += n;
        m_flags |= Dirty;
        // A buffer filled to its end is written out at once.
        if (m_position >= m_bufferEnd && !writeBuffer()) {
            taken -= std::min(taken, m_position - m_bufferStart);
            break;
        }
    }
    if (m_position > m_size && !m_failed)
        m_size = m_position;
    return taken;
}

int32_t qelFileStream::readByte()
{
    uint8_t byte;
    return read(&byte, 1) == 1 ? byte : -1;
}

int32_t qelFileStream::writeByte(uint8_t byte)
{
    return write(&byte, 1) == 1;
}

int32_t qelFileStream::flush()
{
    if (!isOpen() || !(m_flags & Writable))
        return 1;
    bool ok = !m_failed && writeBuffer();
    ok = sysFlush() && ok;
    return ok;
}

int32_t qelFileStream::readRaw(uint8_t* bytes, int32_t count)
{
    if (!(m_flags & TextMode))
        return sysRead(bytes, count);
    // CR bytes are dropped; a chunk made only of CRs reads on rather than ending the file.
    int32_t kept = 0;
    int32_t chunkSize = 2 * m_bufferSize;
    while (kept < count) {
        int32_t want = std::min(count - kept, chunkSize);
        int32_t n = sysRead(m_conversion, want);
        if (n <= 0)
            break;
        for (int32_t i = 0; i < n; ++i) {
            if (m_conversion[i] != 13)
                bytes[kept++] = m_conversion[i];
        }
        if (n < want)
            break;
    }
    return kept;
}

int32_t qelFileStream::writeRaw(const uint8_t* bytes, int32_t count)
{
    if (!(m_flags & TextMode))
        return sysWrite(bytes, count);
    // Each LF goes out as CR LF.
    int32_t done = 0;
    int32_t chunkSize = 2 * m_bufferSize;
    while (done < count) {
        int32_t used = 0;
        int32_t from = done;
        while (done < count && used + 2 <= chunkSize) {
            if (bytes[done] == 10)
                m_conversion[used++] = 13;
            m_conversion[used++] = bytes[done++];
        }
        if (sysWrite(m_conversion, used) != used)
            return from;
    }
    return count;
}

int32_t qelFileStream::sysRead(uint8_t* bytes, int32_t count)
{
    int64_t n = m_file.read(bytes, size_t(count));
    if (n <= 0)
        return 0;
    m_filePosition += int32_t(n);
    return int32_t(n);
}

int32_t qelFileStream::sysWrite(const uint8_t* bytes, int32_t count)
{
    int64_t n = m_file.write(bytes, size_t(count));
    if (n <= 0)
        return 0;
    m_filePosition += int32_t(n);
    return int32_t(n);
}

int32_t qelFileStream::sysSeek(int32_t position)
{
    if (position < 0 || m_file.seek(position, platform::SeekFrom::Start) != position)
        return 0;
    m_filePosition = position;
    return 1;
}

int32_t qelFileStream::sysFlush()
{
    return m_file.flush();
}

std::string qelPlatformPath(const qelValue& name)
{
    qelStringObject* string = qelStringOf(name);
    if (!string)
        return {};
    int32_t length = string->length();
    // Why: a longer name was cut short by the original layer and so named another file; refuse it.
    if (length <= 0 || length > maximumPathLength)
        return {};
    // Content names use either separator and any letter case; the file layer finds the file.
    return platform::resolvePath(platform::cp1252::toUtf8(std::string_view(string->chars(), size_t(length))));
}

qelValue qelOpenFileStream(const qelValue& name, int32_t mode, int32_t quiet)
{
    std::string path = qelPlatformPath(name);
    if (!path.empty()) {
        auto* stream = new qelFileStream(path.c_str(), mode);
        if (stream->isOpen())
            return qelMakeObjectValue(QEL_STREAM_TYPE, stream);
        delete stream;
    }
    if (!quiet) {
        std::string message = "qelFileStream: Cannot open ";
        if (name.isString())
            message += qelCString(name);
        qelError(message.c_str());
    }
    return qelNil;
}
