#include "app/atlas/database/SavedSearches.h"

#include "app/shell/ErrorCapture.h"
#include "app/shell/UserFiles.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/ui/DialogObject.h"

#include <optional>
#include <string>

namespace {

qelValue cachedName;
qelValue cachedList;

SavedSearchConfirm& confirmHook()
{
    static SavedSearchConfirm hook;
    return hook;
}

bool confirmReplace()
{
    if (confirmHook())
        return confirmHook()();
    return !(qelDoDialog("PsqJEDlg") == "N\xE3o");
}

qelValue newSearchList()
{
    return qelMakeList(4, 100, QEL_GENERAL_LIST);
}

// "Pesq" + the first four characters of the name, accents folded.
std::string fileStem(const qelValue& databaseName)
{
    qelValue four = databaseName.isString() ? qelFoldText(qelLeft(databaseName, 4)) : qelValue("");
    return std::string("Pesq") + qelCString(four);
}

bool isSearch(const qelValue& entry)
{
    return entry.type() == QEL_TABLE_TYPE && qelGet(entry, "Name").isString();
}

// The searches stored in the file, or nothing when it does not read back as a list.
std::optional<qelValue> readSearchFile(const qelValue& file)
{
    ErrorCapture errors;
    qelValue archive = qelOpenArchive(file, 0);
    if (errors.failed() || archive.type() != QEL_ARCHIVE_TYPE || qelCount(archive) < 1)
        return std::nullopt;
    qelValue stored = qelGet(archive, 0);
    if (errors.failed() || stored.type() != QEL_LIST_TYPE || qelListObjectOf(stored)->kind() != QEL_GENERAL_LIST)
        return std::nullopt;
    qelValue searches = newSearchList();
    for (int32_t i = 0; i < qelCount(stored); ++i) {
        qelValue entry = qelGet(stored, i);
        if (isSearch(entry))
            qelAddItem(searches, entry);
    }
    return searches;
}

// Replaces the file with one holding the list; a failure keeps the old file and is told on the
// debugger output.
void writeSearchFile(const qelValue& path, const qelValue& list)
{
    writeUserFile(path, list);
}

} // namespace

qelValue savedSearchPath(const qelValue& databaseName)
{
    return userFilePath((fileStem(databaseName) + ".DTT").c_str());
}

qelValue savedSearchAsideName(const qelValue& databaseName)
{
    return qelValue((fileStem(databaseName) + ".BAD").c_str());
}

void setSavedSearchConfirm(SavedSearchConfirm confirm)
{
    confirmHook() = std::move(confirm);
}

qelValue loadSavedSearches(const qelValue& databaseName)
{
    if (databaseName == cachedName && cachedList.type() == QEL_LIST_TYPE)
        return cachedList;
    cachedName = databaseName;
    cachedList = newSearchList();
    qelValue path = savedSearchPath(databaseName);
    if (!qelLocatedFileExists(path)) {
        writeSearchFile(path, cachedList);
        return cachedList;
    }
    qelValue file = qelOpenFileStream(path, 1, 1);
    // Held by another opener for the moment: no searches now, and the file is left alone.
    if (file.isNil())
        return cachedList;
    std::optional<qelValue> stored = readSearchFile(file);
    file = qelNil;
    if (!stored) {
        moveUserFileAside(path, qelCString(savedSearchAsideName(databaseName)));
        writeSearchFile(path, cachedList);
        return cachedList;
    }
    cachedList = *stored;
    return cachedList;
}

void addSavedSearch(const qelValue& databaseName, const qelValue& search)
{
    if (!(databaseName == cachedName) || cachedList.type() != QEL_LIST_TYPE)
        loadSavedSearches(databaseName);
    qelValue name = search.type() == QEL_TABLE_TYPE ? qelGet(search, "Name") : qelNil;
    if (name.isNil())
        return;
    for (int32_t i = 0; i < qelCount(cachedList); ++i) {
        qelValue entry = qelGet(cachedList, i);
        if (qelGet(entry, "Name") == name) {
            if (!confirmReplace())
                return;
            qelListRemove(cachedList, entry);
            break;
        }
    }
    qelAddItem(cachedList, search);
    saveSavedSearches();
}

void removeSavedSearch(const qelValue& databaseName, const qelValue& search)
{
    if (!(databaseName == cachedName) || cachedList.type() != QEL_LIST_TYPE)
        loadSavedSearches(databaseName);
    // That very table, not an equal one: tables compare by identity.
    qelListRemove(cachedList, search);
    saveSavedSearches();
}

void saveSavedSearches()
{
    if (cachedList.type() != QEL_LIST_TYPE)
        return;
    writeSearchFile(savedSearchPath(cachedName), cachedList);
}

void releaseSavedSearches()
{
    cachedName = qelNil;
    cachedList = qelNil;
}

