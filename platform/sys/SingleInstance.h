#pragma once

// One running copy per user folder. The first copy holds an exclusive lock on
// <folder>/<name>.lock and listens on a local socket named after that file; a later copy finds
// the lock taken, asks the first copy through the socket to raise its window, waits briefly
// for the answer and reports that another copy runs. Because the lock lives in the user
// folder, runs with different user folders (parallel tests) never see each other. The lock
// goes with the process, so a crashed copy leaves nothing that blocks the next start.

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace platform {

class SingleInstance {
public:
    using RaiseHandler = std::function<void()>;

    SingleInstance(std::string folder, std::string name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the first copy: it now holds the lock, and `onRaise` runs (on a
    // listener thread) for every later copy that starts. False when another copy holds the
    // lock; that copy has been asked to raise its window. A lock file that cannot be created
    // at all counts as "first copy" so that a read-only folder never stops the program.
    bool acquire(RaiseHandler onRaise);

    bool held() const { return m_lockFd >= 0; }

private:
    void listen();
    void askRunningCopyToRaise();

    std::string m_lockPath;
    std::string m_socketName;
    int m_lockFd = -1;
    int m_listenFd = -1;
    int m_stopPipe[2] = { -1, -1 };
    RaiseHandler m_onRaise;
    std::thread m_listener;
};

} // namespace platform
