#include "platform/sys/Launch.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

    struct Recorder {
        std::mutex lock;
        bool on = false;
        bool desktopOpens = true;
        bool programsStart = true;
        std::string file;
        std::vector<std::string> targets;
        std::vector<std::vector<std::string>> programs;
    };

    Recorder& recorder()
    {
        static Recorder instance;
        return instance;
    }

    void appendLine(const std::string& file, const std::string& line)
    {
        if (file.empty())
            return;
        if (FILE* f = std::fopen(file.c_str(), "ab")) {
            std::fprintf(f, "%s\n", line.c_str());
            std::fclose(f);
        }
    }

    std::string quoted(const std::string& argument)
    {
        std::string out = "\"";
        for (char c : argument) {
            if (c == '"' || c == '\\')
                out += '\\';
            out += c;
        }
        return out + "\"";
    }

    // Starts the program detached and tells whether it is running. The program is started by a
    // middle process that ends at once, so it belongs to the system and no zombie is left
    // behind whatever it does. A pipe whose writing end closes on exec tells the outcome: the
    // child writes its errno into it only when it could not enter the folder or run the program.
    bool spawnDetached(const std::vector<std::string>& arguments, const std::string& folder)
    {
        // Everything the children need is made before forking: between fork and exec only
        // async-signal-safe calls are allowed, and the program may have other threads (audio).
        std::vector<std::string> copies = arguments;
        std::vector<char*> argv;
        for (std::string& argument : copies)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const char* directory = folder.empty() ? nullptr : folder.c_str();

        int report[2];
        if (pipe2(report, O_CLOEXEC) != 0)
            return false;
        pid_t child = fork();
        if (child < 0) {
            close(report[0]);
            close(report[1]);
            return false;
        }
        if (child == 0) {
            close(report[0]);
            pid_t grandchild = fork();
            if (grandchild == 0) {
                if (!directory || chdir(directory) == 0)
                    execvp(argv[0], argv.data());
                int error = errno;
                ssize_t written = write(report[1], &error, sizeof error);
                (void)written;
                _exit(127);
            }
            _exit(grandchild < 0 ? 1 : 0);
        }
        close(report[1]);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
        bool forked = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        // The read ends when the program has replaced the child (nothing read) or the child has
        // written why it could not.
        int error = 0;
        ssize_t got;
        while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) { }
        close(report[0]);
        return forked && got == 0;
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
            appendLine(r.file, "open " + target);
            return r.desktopOpens;
        }
    }
    return spawnDetached({ "xdg-open", target }, {});
}

bool startProgram(const std::vector<std::string>& arguments, const std::string& folder)
{
    if (arguments.empty() || arguments[0].empty())
        return false;
    Recorder& r = recorder();
    {
        std::lock_guard guard(r.lock);
        if (r.on) {
            r.programs.push_back(arguments);
            std::string line = "start";
            for (const std::string& argument : arguments)
                line += " " + quoted(argument);
            appendLine(r.file, line);
            return r.programsStart;
        }
    }
    return spawnDetached(arguments, folder);
}

std::string preferredBrowser()
{
    const char* value = std::getenv("BROWSER");
    if (!value)
        return {};
    std::string first(value);
    first = first.substr(0, first.find(':'));
    return first.substr(0, first.find(' '));
}

void recordLaunches(const std::string& recordFile)
{
    Recorder& r = recorder();
    std::lock_guard guard(r.lock);
    r.on = true;
    r.desktopOpens = true;
    r.programsStart = true;
    r.file = recordFile;
    r.targets.clear();
    r.programs.clear();
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

void answerRecordedLaunches(bool desktopOpens, bool programsStart)
{
    Recorder& r = recorder();
    std::lock_guard guard(r.lock);
    r.desktopOpens = desktopOpens;
    r.programsStart = programsStart;
}

std::vector<std::string> recordedLaunches()
{
    Recorder& r = recorder();
    std::lock_guard guard(r.lock);
    return r.targets;
}

std::vector<std::vector<std::string>> recordedPrograms()
{
    Recorder& r = recorder();
    std::lock_guard guard(r.lock);
    return r.programs;
}

} // namespace platform
