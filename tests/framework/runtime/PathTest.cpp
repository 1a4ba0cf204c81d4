#include "framework/runtime/Path.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string text(const qelValue& value)
{
    return qelCString(value);
}
} // namespace

TEST(Path, Join)
{
    const struct {
        qelValue directory;
        qelValue name;
        const char* joined;
    } cases[] = {
        { "C:\\Velarim", "VL98.ini", "C:\\Velarim\\VL98.ini" },
        { "C:\\Velarim\\", "VL98.ini", "C:\\Velarim\\VL98.ini" }, // never a doubled separator
        { "/opt/velarim/", "VL98.ini", "/opt/velarim/VL98.ini" },
        { "/opt/velarim", "PREFS.DAT", "/opt/velarim\\PREFS.DAT" },
        { "media", "D:\\fotos\\a.jpg", "D:\\fotos\\a.jpg" }, // a drive: the name as it is
        { "media", "\\fotos\\a.jpg", "\\fotos\\a.jpg" }, // absolute: the name as it is
        { "media", "/fotos/a.jpg", "/fotos/a.jpg" },
        { "", "a.jpg", "a.jpg" },
        { qelNil, "a.jpg", "a.jpg" },
        { "media", "", "" },
        { "D:", "x", "D:\\x" },
        { "SourceDisk", "x", "SourceDisk\\x" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(qelPathJoin(c.directory, c.name)), c.joined) << c.joined;
}

TEST(Path, Parts)
{
    const struct {
        const char* path;
        const char* fileName;
        const char* directory;
        const char* extension;
    } cases[] = {
        { "C:\\dir\\sub\\file.txt", "file.txt", "C:\\dir\\sub", "txt" },
        { "file.txt", "file.txt", "", "txt" },
        { "\\file.txt", "\\file.txt", "", "txt" }, // the only separator is the first character
        { "dir\\", "", "dir", "" },
        { "archive.tar.gz", "archive.tar.gz", "", "gz" },
        { "README", "README", "", "" },
        { ".profile", ".profile", "", "" }, // a dot that is the first character is no extension
        { "/home/user/Agenda.DTT", "Agenda.DTT", "/home/user", "DTT" },
        { "mixed/dir\\name.x", "name.x", "mixed/dir", "x" },
        { "", "", "", "" },
    };
    for (const auto& c : cases) {
        qelValue path = c.path;
        EXPECT_EQ(text(qelFileNamePart(path)), c.fileName) << c.path;
        EXPECT_EQ(text(qelDirectoryPart(path)), c.directory) << c.path;
        EXPECT_EQ(text(qelExtension(path)), c.extension) << c.path;
    }
}
