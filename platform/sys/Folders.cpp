#include "platform/sys/Folders.h"

#include "platform/sys/ProgramName.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

    std::string withoutTrailingSeparator(std::string path)
    {
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        return path;
    }

    std::string created(const std::string& path)
    {
        std::error_code ignored;
        fs::create_directories(path, ignored);
        return withoutTrailingSeparator(path);
    }

} // namespace

std::string programFolder()
{
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return ".";
    return withoutTrailingSeparator(exe.parent_path().string());
}

std::string userFolderVariable()
{
    return programVariable("USER_DIR");
}

std::string userFolder()
{
    const char* chosen = std::getenv(userFolderVariable().c_str());
    if (chosen && *chosen)
        return created(chosen);
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (dataHome && dataHome[0] == '/')
        return created(std::string(dataHome) + "/" + programName());
    const char* home = std::getenv("HOME");
    return created(std::string(home && *home ? home : ".") + "/.local/share/" + programName());
}

} // namespace platform
