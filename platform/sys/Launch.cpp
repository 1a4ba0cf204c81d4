#include "platform/sys/Launch.h"

#include <cstdio>
#include <mutex>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

    struct Recorder {
        std::mutex lock;
        bool on = false;
        std::string file;
        std::vector<std::string> targets;
    };

    Recorder& recorder()
    {
        static Recorder instance;
        return instance;
    }

    bool startOpener(const std::string& target)
    {
        // Everything the children need is made before forking: between fork and exec only
        // async-signal-safe calls are allowed, and the program may have other threads (audio).
        std::string program = "xdg-open";
        char* argv[] = { program.data(), const_cast<char*>(target.c_str()), nullptr };
        pid_t child = fork();
        if (child < 0)
            return false;
        if (child == 0) {
            // The middle process starts the opener and ends at once, so the opener belongs to the
            // system and no zombie is left behind whatever the opener does.
            pid_t grandchild = fork();
            if (grandchild == 0) {
                execvp(argv[0], argv);
                _exit(127);
            }
            _exit(grandchild < 0 ? 1 : 0);
        }
        int status = 0;
        while (waitpid(child, &status, 0) < 0) { }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

} // namespace

bool openWithDesktop(const std::string& target)
{
    if (target.empty())
        return false;
    Recorder& r = recorder();
    {
        std::lock_guard guard(r.lock);
        if (r.on) {
            r.targets.push_back(target);
            if (!r.file.empty()) {
                if (FILE* f = std::fopen(r.file.c_str(), "ab")) {
                    std::fprintf(f, "open %s\n", target.c_str());
                    std::fclose(f);
                }
            }
            return true;
        }
    }
    return startOpener(target);
}

void recordLaunches(const std::string& recordFile)
{
    Recorder& r = recorder();
    std::lock_guard guard(r.lock);
    r.on = true;
    r.file = recordFile;
    r.targets.clear();
}

void stopRecordingLaunches()
{
    Recorder& r = recorder();
    std::lock_guard guard(r.lock);
    r.on = false;
    r.file.clear();
}

bool recordingLaunches()
{
    Recorder& r = recorder();
    std::lock_guard guard(r.lock);
    return r.on;
}

std::vector<std::string> recordedLaunches()
{
    Recorder& r = recorder();
    std::lock_guard guard(r.lock);
    return r.targets;
}

} // namespace platform
