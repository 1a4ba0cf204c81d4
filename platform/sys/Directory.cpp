#include "platform/sys/Directory.h"

#include "platform/sys/Cp1252.h"
#include "platform/sys/ProgramName.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <mutex>
#include <sys/stat.h>
#include <unordered_map>

namespace platform {

namespace {

    // One folder's entries keyed by their case-folded name, with what identifies the listing's
    // moment: a folder replaced, or changed since, is read again.
    struct Listing {
        dev_t device = 0;
        ino_t inode = 0;
        struct timespec modified { };
        // Read so soon after the folder's last change that a change in the same tick of the file
        // system's clock would leave the modification time as it is: such a listing is read again.
        bool racy = false;
        std::unordered_map<std::string, std::string> byFoldedName;
    };

    // File times advance in ticks of the kernel's coarse clock (a few milliseconds).
    constexpr auto racyWindow = std::chrono::milliseconds(50);

    std::mutex cacheLock;
    std::unordered_map<std::string, Listing> listings;
    uint64_t readCount = 0;

    int driveIndex(char letter)
    {
        if (letter >= 'a' && letter <= 'z')
            return letter - 'a';
        if (letter >= 'A' && letter <= 'Z')
            return letter - 'A';
        return -1;
    }

    // The folder of each drive letter; read from NAME_DRIVES (after the program's name) on first use.
    std::array<std::string, 26>& driveFolders()
    {
        static std::array<std::string, 26> folders = [] {
            std::array<std::string, 26> map;
            const char* text = std::getenv(programVariable("DRIVES").c_str());
            std::string entries = text ? text : "";
            size_t start = 0;
            while (start < entries.size()) {
                size_t end = entries.find(';', start);
                if (end == std::string::npos)
                    end = entries.size();
                std::string entry = entries.substr(start, end - start);
                // "D=/folder": one letter, an equals sign, a folder.
                if (entry.size() > 2 && entry[1] == '=' && driveIndex(entry[0]) >= 0)
                    map[size_t(driveIndex(entry[0]))] = entry.substr(2);
                start = end + 1;
            }
            return map;
        }();
        return folders;
    }

    // "D:\rest" in the folder mapped to D; anything else as it is.
    std::string withDriveMapped(const std::string& path)
    {
        if (path.size() < 2 || path[1] != ':' || driveIndex(path[0]) < 0)
            return path;
        std::lock_guard guard(cacheLock);
        const std::string& folder = driveFolders()[size_t(driveIndex(path[0]))];
        if (folder.empty())
            return path;
        std::string rest = path.substr(2);
        if (!rest.empty() && rest[0] != '\\' && rest[0] != '/')
            rest.insert(rest.begin(), '/');
        return folder + rest;
    }

    // The cp1252 letters with a lower-case partner: A-Z, the accented capitals 0xC0-0xDE except the
    // multiplication sign 0xD7, and the four capitals of the 0x80 row.
    char32_t foldCharacter(char32_t ch)
    {
        if (ch < 0x80)
            return (ch >= 'A' && ch <= 'Z') ? ch + 0x20 : ch;
        int byte = cp1252::fromUnicode(ch);
        if (byte < 0)
            return ch;
        if ((byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
            return cp1252::toUnicode(uint8_t(byte + 0x20));
        switch (byte) {
        case 0x8A:
        case 0x8C:
        case 0x8E:
            return cp1252::toUnicode(uint8_t(byte + 0x10));
        case 0x9F:
            return cp1252::toUnicode(0xFF);
        default:
            return ch;
        }
    }

    std::string foldName(const std::string& name)
    {
        std::string folded;
        folded.reserve(name.size());
        size_t position = 0;
        while (position < name.size()) {
            size_t start = position;
            int32_t ch = cp1252::decodeUtf8(name, position);
            // A malformed sequence is compared byte for byte.
            if (ch < 0)
                folded.append(name, start, position - start);
            else
                cp1252::appendUtf8(folded, foldCharacter(char32_t(ch)));
        }
        return folded;
    }

    bool statPath(const std::string& path, struct stat& info)
    {
        return ::stat(path.empty() ? "." : path.c_str(), &info) == 0;
    }

    bool sameMoment(const struct timespec& a, const struct timespec& b)
    {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }

    // The listing of an existing folder, read when there is none or the folder changed. Called with
    // the lock held.
    const Listing* listingOf(const std::string& folder, const struct stat& info)
    {
        auto found = listings.find(folder);
        if (found != listings.end() && found->second.device == info.st_dev && found->second.inode == info.st_ino
            && sameMoment(found->second.modified, info.st_mtim) && !found->second.racy)
            return &found->second;

        DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!directory)
            return nullptr;
        ++readCount;
        Listing listing;
        listing.device = info.st_dev;
        listing.inode = info.st_ino;
        listing.modified = info.st_mtim;
        auto modified
            = std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
                std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec)));
        listing.racy = std::chrono::system_clock::now() - modified < racyWindow;
        while (dirent* entry = ::readdir(directory)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            auto [slot, added] = listing.byFoldedName.emplace(foldName(name), name);
            // Two entries that differ only in case: the smaller name wins, whatever order the
            // folder lists them in, so every run picks the same file.
            if (!added && name < slot->second)
                slot->second = name;
        }
        ::closedir(directory);
        return &(listings[folder] = std::move(listing));
    }

    std::string joinPath(const std::string& folder, const std::string& name)
    {
        if (folder.empty())
            return name;
        if (folder.back() == '/')
            return folder + name;
        return folder + "/" + name;
    }

    // Resolves a slash-separated path that does not exist as spelled. Called with the lock held.
    std::string resolveMissing(const std::string& path)
    {
        size_t end = path.size();
        while (end > 1 && path[end - 1] == '/')
            --end;
        size_t slash = path.rfind('/', end - 1);
        std::string folder;
        std::string leaf;
        if (slash == std::string::npos) {
            leaf = path.substr(0, end);
        } else {
            folder = slash == 0 ? "/" : path.substr(0, slash);
            leaf = path.substr(slash + 1, end - slash - 1);
        }
        std::string trailer = path.substr(end);
        if (leaf.empty() || leaf == "." || leaf == "..")
            return path;

        struct stat info;
        if (!statPath(folder, info)) {
            if (folder.empty() || folder == "/")
                return path;
            folder = resolveMissing(folder);
            if (!statPath(folder, info))
                return joinPath(folder, leaf) + trailer;
        }
        if (!S_ISDIR(info.st_mode))
            return joinPath(folder, leaf) + trailer;
        const Listing* listing = listingOf(folder, info);
        if (listing) {
            auto match = listing->byFoldedName.find(foldName(leaf));
            if (match != listing->byFoldedName.end())
                return joinPath(folder, match->second) + trailer;
        }
        return joinPath(folder, leaf) + trailer;
    }

} // namespace

std::string resolvePath(const std::string& path)
{
    std::string spelled = withDriveMapped(path);
    std::replace(spelled.begin(), spelled.end(), '\\', '/');
    struct stat info;
    if (spelled.empty() || statPath(spelled, info))
        return spelled;
    std::lock_guard guard(cacheLock);
    return resolveMissing(spelled);
}

void setDriveFolder(char letter, const std::string& folder)
{
    if (driveIndex(letter) < 0)
        return;
    std::lock_guard guard(cacheLock);
    driveFolders()[size_t(driveIndex(letter))] = folder;
}

void clearDriveFolders()
{
    std::lock_guard guard(cacheLock);
    driveFolders().fill(std::string());
}

bool pathExists(const std::string& path)
{
    if (path.empty())
        return false;
    struct stat info;
    return statPath(resolvePath(path), info);
}

uint64_t directoryReads()
{
    std::lock_guard guard(cacheLock);
    return readCount;
}

void resetDirectoryCache()
{
    std::lock_guard guard(cacheLock);
    listings.clear();
    readCount = 0;
}

} // namespace platform
