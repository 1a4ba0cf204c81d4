// Path resolution ignoring case, with folder listings read once and read again after a change.

#include "platform/sys/Directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

struct Folder {
    Folder()
    {
        root = fs::temp_directory_path() / ("qel-directory-" + std::to_string(std::random_device {}()));
        fs::create_directories(root / "Media" / "Fotos");
        platform::resetDirectoryCache();
    }
    ~Folder() { fs::remove_all(root); }
    std::string at(const std::string& relative) const { return root.string() + "/" + relative; }
    void touch(const std::string& relative) const { std::ofstream(at(relative)) << "x"; }

    fs::path root;
};

} // namespace

TEST(Directory, NamesAreFoundIgnoringCaseAndSeparators)
{
    Folder folder;
    folder.touch("Media/Atlas.DAT");
    // "Mídia.bmp" in UTF-8 on disk, asked for with a capital accented letter.
    folder.touch("Media/Fotos/M\xc3\xad"
                 "dia.bmp");

    struct Case {
        std::string asked;
        std::string found;
    } cases[] = {
        { "Media/Atlas.DAT", "Media/Atlas.DAT" },
        { "media\\atlas.dat", "Media/Atlas.DAT" },
        { "MEDIA/FOTOS/M\xc3\x8d"
          "DIA.BMP",
            "Media/Fotos/M\xc3\xad"
            "dia.bmp" },
        // A name with no such entry is left as asked, with its separators turned.
        { "media\\Ausente.dat", "Media/Ausente.dat" },
        { "Nada\\Ausente.dat", "Nada/Ausente.dat" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::resolvePath(folder.at(c.asked)), folder.at(c.found)) << c.asked;
    EXPECT_TRUE(platform::pathExists(folder.at("MEDIA/atlas.dat")));
    EXPECT_FALSE(platform::pathExists(folder.at("MEDIA/atlas.idx")));
}

TEST(Directory, AFolderIsListedOnceUntilItChanges)
{
    Folder folder;
    for (int i = 0; i < 50; ++i)
        folder.touch("Media/Form" + std::to_string(i) + ".etn");
    // Listings of folders changed a moment ago are not trusted (a change in the same tick of the
    // file clock would not show): these folders were last changed an hour ago.
    auto earlier = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(folder.root, earlier);
    fs::last_write_time(folder.root / "Media", earlier);
    uint64_t before = platform::directoryReads();
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 50; ++i)
            EXPECT_TRUE(platform::pathExists(folder.at("media/FORM" + std::to_string(i) + ".ETN")));
    // The root folder (to find "Media") and "Media" itself, once each.
    EXPECT_EQ(platform::directoryReads() - before, 2u);

    // A file made later is seen: the changed folder is listed again.
    folder.touch("Media/Novo.etn");
    EXPECT_TRUE(platform::pathExists(folder.at("media/NOVO.ETN")));
    EXPECT_EQ(platform::directoryReads() - before, 3u);
}

TEST(Directory, DriveLettersNameTheirMappedFolders)
{
    Folder folder;
    folder.touch("Media/Atlas.DAT");
    platform::setDriveFolder('d', folder.root.string());
    struct Case {
        std::string asked;
        std::string found;
    } cases[] = {
        { "D:\\MEDIA\\atlas.dat", folder.at("Media/Atlas.DAT") },
        { "d:/Media/Atlas.DAT", folder.at("Media/Atlas.DAT") },
        { "D:Media\\Atlas.DAT", folder.at("Media/Atlas.DAT") }, // relative to the drive's folder
        { "E:\\Media\\Atlas.DAT", "E:/Media/Atlas.DAT" }, // no folder for E: left as written
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::resolvePath(c.asked), c.found) << c.asked;
    EXPECT_TRUE(platform::pathExists("D:\\media\\ATLAS.DAT"));
    platform::clearDriveFolders();
    EXPECT_FALSE(platform::pathExists("D:\\media\\ATLAS.DAT"));
}
