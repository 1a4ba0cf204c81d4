#include "platform/sys/SingleInstance.h"

#include "platform/sys/ProgramName.h"

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

    constexpr char request[] = "raise\n";
    constexpr char reply[] = "ok\n";
    constexpr int replyWaitMs = 2000;

    uint64_t fnv1a(std::string_view s)
    {
        uint64_t h = 1469598103934665603ull;
        for (char c : s) {
            h ^= uint8_t(c);
            h *= 1099511628211ull;
        }
        return h;
    }

    // An abstract socket address (Linux): no file to clean up, gone when the process ends. The
    // name hashes the lock file's absolute path, so it stays within the 108 bytes of an address
    // however deep the user folder is.
    socklen_t addressOf(const std::string& name, sockaddr_un& addr)
    {
        std::memset(&addr, 0, sizeof addr);
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path + 1, name.data(), name.size());
        return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    }

    bool waitReadable(int fd, int timeoutMs)
    {
        pollfd p { fd, POLLIN, 0 };
        int r;
        do {
            r = ::poll(&p, 1, timeoutMs);
        } while (r < 0 && errno == EINTR);
        return r > 0;
    }

} // namespace

SingleInstance::SingleInstance(std::string folder, std::string name)
{
    std::error_code error;
    std::filesystem::path lock = std::filesystem::absolute(std::filesystem::path(folder) / (name + ".lock"), error);
    m_lockPath = lock.lexically_normal().string();
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", (unsigned long long)fnv1a(m_lockPath));
    m_socketName = programName() + "-" + std::string(hex);
}

SingleInstance::~SingleInstance()
{
    if (m_listener.joinable()) {
        char stop = 1;
        (void)!::write(m_stopPipe[1], &stop, 1);
        m_listener.join();
    }
    for (int fd : { m_listenFd, m_stopPipe[0], m_stopPipe[1], m_lockFd }) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool SingleInstance::acquire(RaiseHandler onRaise)
{
    if (held())
        return true;
    int fd = ::open(m_lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        askRunningCopyToRaise();
        return false;
    }
    m_lockFd = fd;
    m_onRaise = std::move(onRaise);

    // Without the listener the program still runs; only the raising of its window is lost.
    int sock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr;
    socklen_t length = addressOf(m_socketName, addr);
    if (sock < 0 || ::bind(sock, reinterpret_cast<sockaddr*>(&addr), length) != 0 || ::listen(sock, 4) != 0
        || ::pipe2(m_stopPipe, O_CLOEXEC) != 0) {
        if (sock >= 0)
            ::close(sock);
        return true;
    }
    m_listenFd = sock;
    m_listener = std::thread([this] { listen(); });
    return true;
}

void SingleInstance::listen()
{
    while (true) {
        pollfd fds[2] = { { m_listenFd, POLLIN, 0 }, { m_stopPipe[0], POLLIN, 0 } };
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        int client = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        // A peer that connects and says nothing must not hold the listener for long.
        char buffer[sizeof request] = {};
        ssize_t n = waitReadable(client, replyWaitMs) ? ::read(client, buffer, sizeof request - 1) : -1;
        if (n == ssize_t(sizeof request - 1) && std::memcmp(buffer, request, sizeof request - 1) == 0) {
            if (m_onRaise)
                m_onRaise();
            (void)!::send(client, reply, sizeof reply - 1, MSG_NOSIGNAL);
        }
        ::close(client);
    }
}

void SingleInstance::askRunningCopyToRaise()
{
    // The running copy takes the lock before it binds its socket, so a start at the very same
    // moment may find no listener yet: try again for a short while.
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(replyWaitMs);
    while (true) {
        int sock = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (sock < 0)
            return;
        sockaddr_un addr;
        socklen_t length = addressOf(m_socketName, addr);
        if (::connect(sock, reinterpret_cast<sockaddr*>(&addr), length) == 0) {
            if (::send(sock, request, sizeof request - 1, MSG_NOSIGNAL) == ssize_t(sizeof request - 1)
                && waitReadable(sock, replyWaitMs)) {
                char buffer[sizeof reply];
                (void)!::read(sock, buffer, sizeof buffer);
            }
            ::close(sock);
            return;
        }
        ::close(sock);
        if (std::chrono::steady_clock::now() >= until)
            return;
        ::usleep(20000);
    }
}

} // namespace platform
