#include "platform/sys/File.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

    // The system has no share modes, so every open handle of this program is registered with its
    // file identity, access and share mode, and a new open is refused when it and an existing
    // handle do not permit each other's access. Between programs a whole-file lock stands in:
    // exclusive for a writer that shares nothing, shared otherwise — readers of one file in two
    // programs (two runs over the same content folder) must never turn each other away.
    struct Registration {
        uint64_t id;
        dev_t device;
        ino_t inode;
        FileAccess access;
        FileShare share;
    };

    std::mutex registryMutex;
    std::vector<Registration> registry;
    uint64_t nextRegistration = 1;

    bool permits(FileShare share, FileAccess access)
    {
        if (share == FileShare::None)
            return false;
        return access == FileAccess::Read || share == FileShare::ReadWrite;
    }

    FileError errorFromErrno(int code)
    {
        switch (code) {
        case ENOENT:
        case ENOTDIR:
            return FileError::NotFound;
        case EEXIST:
            return FileError::Exists;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileError::AccessDenied;
        case EINVAL:
            return FileError::InvalidArgument;
        case EAGAIN:
            return FileError::Locked;
        default:
            return FileError::IO;
        }
    }

    void unregister(uint64_t id)
    {
        if (!id)
            return;
        std::lock_guard guard(registryMutex);
        for (size_t i = 0; i < registry.size(); ++i) {
            if (registry[i].id == id) {
                registry.erase(registry.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
        }
    }

} // namespace

File::~File()
{
    close();
}

File::File(File&& other) noexcept
    : m_fd(other.m_fd)
    , m_access(other.m_access)
    , m_registration(other.m_registration)
    , m_position(other.m_position)
    , m_lastError(other.m_lastError)
{
    other.m_fd = -1;
    other.m_registration = 0;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_access = other.m_access;
        m_registration = other.m_registration;
        m_position = other.m_position;
        m_lastError = other.m_lastError;
        other.m_fd = -1;
        other.m_registration = 0;
    }
    return *this;
}

File File::open(const std::string& path, const FileOpenOptions& options, FileError* error)
{
    auto failWith = [&](FileError code) {
        if (error)
            *error = code;
        return File();
    };
    if (path.empty())
        return failWith(FileError::InvalidArgument);

    bool writable = options.access == FileAccess::ReadWrite;
    int flags = O_CLOEXEC | ((writable || options.lockable) ? O_RDWR : O_RDONLY);
    switch (options.disposition) {
    case FileDisposition::OpenExisting:
        break;
    case FileDisposition::CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    case FileDisposition::CreateAlways:
    case FileDisposition::OpenAlways:
        flags |= O_CREAT;
        break;
    }
    if (options.disposition != FileDisposition::OpenExisting && !writable)
        return failWith(FileError::InvalidArgument);

    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failWith(errorFromErrno(errno));

    struct stat info;
    if (fstat(fd, &info) != 0) {
        int code = errno;
        ::close(fd);
        return failWith(errorFromErrno(code));
    }
    // Why: directories and devices are not files this layer can read, write and lock.
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return failWith(FileError::AccessDenied);
    }

    uint64_t id;
    {
        std::lock_guard guard(registryMutex);
        for (auto& other : registry) {
            if (other.device != info.st_dev || other.inode != info.st_ino)
                continue;
            if (!permits(other.share, options.access) || !permits(options.share, other.access)) {
                ::close(fd);
                return failWith(FileError::SharingViolation);
            }
        }
        // Other programs: a whole-file lock, independent of the byte-range locks below.
        bool excludesOthers = options.share == FileShare::None && options.access == FileAccess::ReadWrite;
        int mode = (excludesOthers ? LOCK_EX : LOCK_SH) | LOCK_NB;
        if (flock(fd, mode) != 0) {
            ::close(fd);
            return failWith(FileError::SharingViolation);
        }
        id = nextRegistration++;
        registry.push_back({ id, info.st_dev, info.st_ino, options.access, options.share });
    }

    // An existing file is emptied only once the share check has let this handle in.
    if (options.disposition == FileDisposition::CreateAlways && info.st_size != 0 && ftruncate(fd, 0) != 0) {
        int code = errno;
        unregister(id);
        ::close(fd);
        return failWith(errorFromErrno(code));
    }
    if (error)
        *error = FileError::None;
    return File(fd, options.access, id);
}

bool File::fail(FileError error)
{
    m_lastError = error;
    return false;
}

int64_t File::readAt(int64_t offset, void* buffer, size_t size)
{
    if (m_fd < 0)
        return fail(FileError::Closed), -1;
    if (offset < 0)
        return fail(FileError::InvalidArgument), -1;
    size_t done = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (done < size) {
        ssize_t n = ::pread(m_fd, bytes + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_lastError = errorFromErrno(errno);
            return done ? static_cast<int64_t>(done) : -1;
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

int64_t File::writeAt(int64_t offset, const void* data, size_t size)
{
    if (m_fd < 0)
        return fail(FileError::Closed), -1;
    if (m_access != FileAccess::ReadWrite)
        return fail(FileError::AccessDenied), -1;
    if (offset < 0)
        return fail(FileError::InvalidArgument), -1;
    size_t done = 0;
    auto* bytes = static_cast<const unsigned char*>(data);
    while (done < size) {
        ssize_t n = ::pwrite(m_fd, bytes + done, size - done, static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_lastError = n < 0 ? errorFromErrno(errno) : FileError::IO;
            return done ? static_cast<int64_t>(done) : -1;
        }
        done += static_cast<size_t>(n);
    }
    return static_cast<int64_t>(done);
}

int64_t File::read(void* buffer, size_t size)
{
    int64_t n = readAt(m_position, buffer, size);
    if (n > 0)
        m_position += n;
    return n;
}

int64_t File::write(const void* data, size_t size)
{
    int64_t n = writeAt(m_position, data, size);
    if (n > 0)
        m_position += n;
    return n;
}

int64_t File::seek(int64_t offset, SeekFrom from)
{
    if (m_fd < 0)
        return fail(FileError::Closed), -1;
    int64_t base = 0;
    if (from == SeekFrom::Current)
        base = m_position;
    else if (from == SeekFrom::End) {
        base = size();
        if (base < 0)
            return -1;
    }
    // Why: a position before the start is meaningless; refusing keeps m_position valid.
    if ((offset < 0 && base < -offset) || (offset > 0 && base > INT64_MAX - offset))
        return fail(FileError::InvalidArgument), -1;
    m_position = base + offset;
    return m_position;
}

int64_t File::size()
{
    if (m_fd < 0)
        return fail(FileError::Closed), -1;
    struct stat info;
    if (fstat(m_fd, &info) != 0)
        return fail(errorFromErrno(errno)), -1;
    return info.st_size;
}

bool File::flush()
{
    if (m_fd < 0)
        return fail(FileError::Closed);
    if (m_access != FileAccess::ReadWrite)
        return true;
    if (fdatasync(m_fd) != 0)
        return fail(errorFromErrno(errno));
    return true;
}

bool File::truncate(int64_t newSize)
{
    if (m_fd < 0)
        return fail(FileError::Closed);
    if (m_access != FileAccess::ReadWrite)
        return fail(FileError::AccessDenied);
    if (newSize < 0)
        return fail(FileError::InvalidArgument);
    if (ftruncate(m_fd, static_cast<off_t>(newSize)) != 0)
        return fail(errorFromErrno(errno));
    return true;
}

bool File::close()
{
    if (m_fd < 0)
        return true;
    unregister(m_registration);
    m_registration = 0;
    // The descriptor is gone after close() whatever it answers, so it is never retried.
    int result = ::close(m_fd);
    m_fd = -1;
    m_position = 0;
    if (result != 0 && errno != EINTR)
        return fail(errorFromErrno(errno));
    return true;
}

bool File::lock(int64_t offset, int64_t length, bool exclusive, bool wait)
{
    if (m_fd < 0)
        return fail(FileError::Closed);
    if (offset < 0 || length <= 0)
        return fail(FileError::InvalidArgument);
    struct flock range { };
    range.l_type = exclusive ? F_WRLCK : F_RDLCK;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(offset);
    range.l_len = static_cast<off_t>(length);
    range.l_pid = 0;
    int result;
    do {
        result = fcntl(m_fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &range);
    } while (result != 0 && errno == EINTR);
    if (result != 0)
        return fail(errno == EACCES ? FileError::Locked : errorFromErrno(errno));
    return true;
}

bool File::unlock(int64_t offset, int64_t length)
{
    if (m_fd < 0)
        return fail(FileError::Closed);
    if (offset < 0 || length <= 0)
        return fail(FileError::InvalidArgument);
    struct flock range { };
    range.l_type = F_UNLCK;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(offset);
    range.l_len = static_cast<off_t>(length);
    range.l_pid = 0;
    if (fcntl(m_fd, F_OFD_SETLK, &range) != 0)
        return fail(errorFromErrno(errno));
    return true;
}

bool File::remove(const std::string& path)
{
    return !path.empty() && ::unlink(path.c_str()) == 0;
}

bool File::rename(const std::string& from, const std::string& to)
{
    return !from.empty() && !to.empty() && ::rename(from.c_str(), to.c_str()) == 0;
}

bool File::exists(const std::string& path)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

} // namespace platform
