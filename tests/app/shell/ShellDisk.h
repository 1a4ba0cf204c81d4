#pragma once

// A small content disk for the shell's data tests, written with the program's own archive and
// index writers under the names and in the layout of the almanac's disk: SourceDisk/Media holds
// the three ".DAT" archives, the thirteen ".IDX" indexes and the three ".DTT" category lists. The
// user folder is a folder of its own. Each index's values name the file they came from, so a
// lookup that reads the wrong file shows.

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/sys/Folders.h"
#include "recdb/index/IndexObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace shelltest {

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

inline Bytes fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline qelValue pathValue(const fs::path& path)
{
    return qelStringValue(path.string().c_str());
}

inline qelValue intList(std::initializer_list<int32_t> ints)
{
    qelValue list = qelMakeList(4, 100, QEL_INT_LIST);
    for (int32_t n : ints)
        qelAddItem(list, qelMakeInt(n));
    return list;
}

inline std::vector<int32_t> intsOf(const qelValue& list)
{
    std::vector<int32_t> out;
    for (int32_t i = 0; i < qelCount(list); ++i)
        out.push_back(qelIntAt(list, i));
    return out;
}

inline void writeArchive(const fs::path& path, const std::vector<qelValue>& items)
{
    qelValue archive = qelCreateArchive(pathValue(path), 0);
    for (const qelValue& item : items)
        qelArchiveOf(archive)->add(item);
}

inline void writeIndex(const fs::path& path, const std::vector<std::pair<qelValue, qelValue>>& items)
{
    qelValue index = qelCreateIndex(pathValue(path));
    for (const auto& [key, value] : items)
        qelPut(index, key, value);
}

// A record: a table naming its archive and item, as the screens' records are tables.
inline qelValue record(const char* archive, int32_t item)
{
    qelValue table = qelTable(4, 100, 75);
    qelPut(table, "Arquivo", archive);
    qelPut(table, "Item", qelMakeInt(item));
    return table;
}

class ShellDisk : public testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("qel-shell-" + std::to_string(std::random_device {}()));
        media = root / "Media";
        user = root / "user";
        fs::create_directories(media);
        fs::create_directories(user);
        setenv(platform::userFolderVariable().c_str(), user.string().c_str(), 1);
        environment.makeCurrent();
        environment.setSetting("SourceDisk", root.string().c_str());
        environment.setSetting("MediaPath", "Media");
        writeDisk();
    }
    void TearDown() override
    {
        unsetenv(platform::userFolderVariable().c_str());
        fs::remove_all(root);
    }

    void writeDisk()
    {
        writeArchive(media / "Verbetes.DAT", { record("Verbetes", 0), record("Verbetes", 1), record("Verbetes", 2) });
        writeArchive(media / "Midias.DAT", { record("Midias", 0), record("Midias", 1) });
        writeArchive(
            media / "Atlas.DAT", { record("Atlas", 0), record("Atlas", 1), record("Atlas", 2), record("Atlas", 3) });

        // Name lists: id -> name. The names carry their file's name.
        writeIndex(media / "GNRNList.IDX", { { qelMakeInt(7), "GNRNList: Geral" } });
        writeIndex(media / "VDBNList.IDX", { { qelMakeInt(7), "VDBNList: Amazonas" } });
        writeIndex(media / "MDBName.IDX", { { qelMakeInt(7), "MDBName: Foto do rio" } });
        writeIndex(media / "ATNamLst.IDX", { { qelMakeInt(7), "ATNamLst: Brasil" } });
        // Id lists and list ids: key -> int; each file answers a number of its own.
        writeIndex(media / "VDBIDLst.IDX", { { "Amazonas", qelMakeInt(101) } });
        writeIndex(media / "MDBIDLst.IDX", { { "Amazonas", qelMakeInt(102) } });
        writeIndex(media / "MDBIDLt2.IDX", { { "Amazonas", qelMakeInt(103) } });
        writeIndex(media / "ATIDList.IDX", { { "Amazonas", qelMakeInt(104) } });
        writeIndex(media / "VDBLstID.IDX", { { qelMakeInt(7), qelMakeInt(2) } });
        writeIndex(media / "MDBLstID.IDX", { { qelMakeInt(7), qelMakeInt(1) } });
        writeIndex(media / "MDBNList.IDX", { { "rio.jpg", qelMakeInt(1) } });
        // Opened and tested only.
        writeIndex(media / "VDBName.IDX", { { "Amazonas", qelMakeInt(2) } });
        writeIndex(media / "MDBFName.IDX", { { "rio.jpg", qelMakeInt(1) } });

        writeCategories();
    }

    // Categories: item n is a list of ids.
    void writeCategories()
    {
        writeArchive(
            media / "IDCatLst.DTT", { intList({ 0, 1, 2 }), intList({ 1 }), intList({ 2, 0 }), intList({ 3 }) });
        writeArchive(media / "ATCatLst.DTT", { intList({ 3, 2, 1, 0 }), intList({ 1, 3 }) });
        writeArchive(media / "IDMidLst.DTT", { intList({ 0, 1 }), intList({ 1 }) });
    }

    fs::path root;
    fs::path media;
    fs::path user;
    qelEnvironment environment;
};

// Every content file of the databases and category lists, by its name on the disk.
inline const char* const contentFiles[] = { "Verbetes.DAT", "GNRNList.IDX", "VDBLstID.IDX", "VDBNList.IDX",
    "VDBIDLst.IDX", "VDBName.IDX", "MDBLstID.IDX", "MDBFName.IDX", "MDBName.IDX", "MDBNList.IDX", "MDBIDLst.IDX",
    "MDBIDLt2.IDX", "Midias.DAT", "Atlas.DAT", "ATNamLst.IDX", "ATIDList.IDX" };

} // namespace shelltest
