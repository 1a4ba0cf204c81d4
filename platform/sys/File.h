#pragma once

// A thin RAII handle on an operating-system file: open or create with an access and a share
// mode, positional and sequential reads and writes, size, flush, truncate, and byte-range locks
// that belong to the handle (not to the process), so two handles of one program exclude each
// other exactly as two programs do.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// What this handle may do with the file.
enum class FileAccess { Read, ReadWrite };

// What other handles, of this program or of another, may do while this one is open.
// Between handles of this program every mode is enforced; between programs, None on a writable
// handle excludes every other opener, and readers always let each other in.
enum class FileShare { None, Read, ReadWrite };

enum class FileDisposition {
    OpenExisting, // fails with NotFound when the file is missing
    CreateNew, // fails with Exists when the file is there
    CreateAlways, // creates, or empties an existing file
    OpenAlways, // opens, creating the file when missing
};

enum class FileError { None, NotFound, Exists, AccessDenied, SharingViolation, InvalidArgument, Locked, IO, Closed };

struct FileOpenOptions {
    FileAccess access { FileAccess::Read };
    FileShare share { FileShare::ReadWrite };
    FileDisposition disposition { FileDisposition::OpenExisting };
    // Open the descriptor so that exclusive byte-range locks can be taken even by a read-only
    // handle (the system grants them only on writable descriptors). Writes stay refused.
    bool lockable { false };
};

enum class SeekFrom { Start, Current, End };

class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // On failure the returned handle is closed and *error tells why.
    static File open(const std::string& path, const FileOpenOptions& options, FileError* error = nullptr);

    bool isOpen() const { return m_fd >= 0; }
    FileAccess access() const { return m_access; }
    FileError lastError() const { return m_lastError; }

    // Both return the bytes transferred, or -1 on an error. A count below the size asked for is
    // the end of the file (read) or a full device (write); the caller decides what that means.
    int64_t readAt(int64_t offset, void* buffer, size_t size);
    int64_t writeAt(int64_t offset, const void* data, size_t size);

    // Sequential forms working at the handle's position, which they advance.
    int64_t read(void* buffer, size_t size);
    int64_t write(const void* data, size_t size);
    int64_t seek(int64_t offset, SeekFrom from);
    int64_t tell() const { return m_position; }

    int64_t size();
    bool flush();
    bool truncate(int64_t size);
    bool close();

    // Byte-range locks owned by this handle. A shared lock needs read access, an exclusive one
    // write access (or a lockable handle). With wait, the call blocks until the range is free;
    // without, it fails at once with FileError::Locked.
    bool lock(int64_t offset, int64_t length, bool exclusive, bool wait = false);
    bool unlock(int64_t offset, int64_t length);

    static bool remove(const std::string& path);
    static bool rename(const std::string& from, const std::string& to);
    static bool exists(const std::string& path);

private:
    File(int fd, FileAccess access, uint64_t registration)
        : m_fd(fd)
        , m_access(access)
        , m_registration(registration)
    {
    }
    bool fail(FileError error);

    int m_fd { -1 };
    FileAccess m_access { FileAccess::Read };
    uint64_t m_registration { 0 };
    int64_t m_position { 0 };
    FileError m_lastError { FileError::None };
};

} // namespace platform
