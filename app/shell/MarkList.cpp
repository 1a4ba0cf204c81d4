#include "app/shell/MarkList.h"

#include "app/shell/UserFiles.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"

#include <optional>
#include <string>

namespace {

qelValue markList;

bool isIntList(const qelValue& value)
{
    qelListObject* list = qelListObjectOf(value);
    return list && list->kind() == QEL_INT_LIST;
}

// The list stored in the open file, or nothing when the file does not read back as a mark file.
std::optional<qelValue> readMarkFile(const qelValue& file)
{
    qelValue list = readUserFile(file);
    if (!isIntList(list))
        return std::nullopt;
    return list;
}

// Replaces the file with one holding the list. A failure keeps the old file and is told on the
// debugger output; the marks in memory stay as they are.
void writeMarkFile(const qelValue& path, const qelValue& list)
{
    writeUserFile(path, list);
}

qelValue newMarkList()
{
    return qelNewIntList(4);
}

} // namespace

qelValue markListPath()
{
    return userFilePath("MARKLIST.DTT");
}

qelValue getMarkList()
{
    if (markList.type() == QEL_LIST_TYPE)
        return markList;
    qelValue path = markListPath();
    if (!qelLocatedFileExists(path)) {
        writeMarkFile(path, newMarkList());
        return markList;
    }
    // A file that is there but cannot be opened now (held by another opener) is left alone: no
    // marks for the moment, and the next ask tries again.
    qelValue file = qelOpenFileStream(path, 1, 1);
    if (file.isNil())
        return markList;
    std::optional<qelValue> stored = readMarkFile(file);
    file = qelNil;
    if (!stored) {
        moveUserFileAside(path, markListAsideName);
        writeMarkFile(path, newMarkList());
        return markList;
    }
    if (qelCount(*stored) > 0)
        markList = *stored;
    return markList;
}

int32_t countMarks()
{
    if (markList.isNil())
        getMarkList();
    return markList.isNil() ? 0 : qelCount(markList);
}

qelValue addMark(int32_t id)
{
    // The stored marks are read first, so a mark added before any screen counted them cannot
    // replace the file's marks with a list of one.
    if (markList.isNil())
        getMarkList();
    if (markList.isNil())
        markList = newMarkList();
    qelAddItem(markList, qelMakeInt(id));
    saveMarkList();
    return markList;
}

qelValue removeMark(int32_t id)
{
    if (markList.isNil())
        getMarkList();
    // With no marks there is nothing to remove and nothing to write.
    if (markList.isNil())
        return markList;
    qelListRemove(markList, qelMakeInt(id));
    saveMarkList();
    return markList;
}

void saveMarkList()
{
    // No marks is written as an empty int list, never as a missing item.
    writeMarkFile(markListPath(), markList.isNil() ? newMarkList() : markList);
    if (!markList.isNil() && qelCount(markList) == 0)
        markList = qelNil;
}

void releaseMarkList()
{
    markList = qelNil;
}
