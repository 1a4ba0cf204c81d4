#pragma once

// A buffered stream over a platform file.
//
// One I/O buffer (2048 bytes) serves both directions. Seeks are lazy: the target is kept and
// carried out (buffer written, file positioned) by the next read or write, so tell keeps the old
// position until then, and a seek to the current position is dropped. Reads larger than twice the
// buffer bypass it. Text mode (reading only) drops CR bytes.
//
// The file is opened without sharing: while the stream holds it, every other open of the same
// file, by this program or another, fails.
//
// Faults of a plain buffered design that this one avoids: the buffer is always written back at the
// file offset it came from (never at wherever the file pointer stands); a failed write is sticky,
// so the short count and the failing flush are reported rather than lost; a text-mode buffer made
// only of CR bytes reads on instead of ending the file early; names over 255 bytes are refused
// rather than cut; files whose length does not fit the 32-bit size are refused.

#include "framework/runtime/Stream.h"
#include "platform/sys/File.h"

class qelFileStream : public qelStreamObject {
public:
    // Mode and state flags.
    enum : int32_t {
        Readable = 1,
        Writable = 2,
        TextMode = 4,
        Create = 8,
        BufferValid = 0x10,
        Dirty = 0x20,
        SeekPending = 0x40,
    };
    static constexpr int32_t defaultBufferSize = 2048;

    // Opens `path` (UTF-8) with the mode bits 1, 2, 4 and 8. isOpen() tells whether that worked.
    qelFileStream(const char* path, int32_t mode);
    ~qelFileStream() override;

    int32_t isWritable() const override { return (m_flags & Writable) != 0; }
    int32_t isOpen() const override { return m_file.isOpen(); }
    int32_t atEnd() const override { return m_position >= m_size; }
    int32_t size() const override { return m_size; }
    int32_t tell() const override { return m_position; }
    int32_t seek(int32_t position) override;
    int32_t readByte() override;
    int32_t read(uint8_t* bytes, int32_t count) override;
    int32_t writeByte(uint8_t byte) override;
    int32_t write(const uint8_t* bytes, int32_t count) override;
    int32_t flush() override;

    // Operations of the file stream, in this order.
    virtual void setBufferSize(int32_t size);
    // The text-mode conversion layer over the system calls.
    virtual int32_t readRaw(uint8_t* bytes, int32_t count);
    virtual int32_t writeRaw(const uint8_t* bytes, int32_t count);
    virtual int32_t sysRead(uint8_t* bytes, int32_t count);
    virtual int32_t sysWrite(const uint8_t* bytes, int32_t count);
    virtual int32_t sysSeek(int32_t position);
    virtual int32_t sysFlush();

    int32_t flags() const { return m_flags; }
    // True once a write to the file has failed; every later write and flush then fails.
    bool hasFailed() const { return m_failed; }

private:
    bool carryOutPendingSeek();
    // Writes the dirty bytes [buffer start, position) at the buffer start; false on a short write.
    bool writeBuffer();
    // Positions the file at the logical position before a transfer that bypasses the buffer.
    bool syncFilePosition();

    int32_t m_flags { 0 };
    uint8_t* m_buffer { nullptr };
    int32_t m_bufferSize { 0 };
    int32_t m_size { 0 };
    int32_t m_filePosition { 0 };
    int32_t m_position { 0 };
    int32_t m_bufferStart { 0 };
    int32_t m_bufferEnd { 0 };
    int32_t m_seekTarget { 0 };
    uint8_t* m_conversion { nullptr };
    bool m_writeBuffer { false };
    bool m_failed { false };
    platform::File m_file;
};

// A stream value on the named file (a string value, cp1252) opened with the mode bits, or nil when
// it cannot be opened; then, unless quiet, "qelFileStream: Cannot open " + name goes to qelError.
qelValue qelOpenFileStream(const qelValue& name, int32_t mode, int32_t quiet);

// The platform path of a file name value (cp1252 to UTF-8); empty for a name that is no string or
// is longer than 255 bytes.
std::string qelPlatformPath(const qelValue& name);
