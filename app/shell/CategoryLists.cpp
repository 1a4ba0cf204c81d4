#include "app/shell/CategoryLists.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"

namespace {

// One slot per kind 0 to 4, kinds 1 and 2 sharing one.
constexpr int32_t slotCount = 4;
qelValue currentIdLists[slotCount];

int32_t slotOf(int32_t kind)
{
    switch (kind) {
    case 0:
        return 0;
    case 1:
    case 2:
        return 1;
    case 3:
        return 2;
    case 4:
        return 3;
    default:
        return -1;
    }
}

struct CategoryFile {
    const char* name;
    int32_t kind;
    int32_t lastRead { -1 };
    qelValue item;
};

CategoryFile entryCategories { "IDCatLst", 0, -1, {} };
CategoryFile atlasCategories { "ATCatLst", 4, -1, {} };
CategoryFile mediaCategories { "IDMidLst", 1, -1, {} };

qelValue loadCategory(CategoryFile& file, int32_t n, bool makeCurrent)
{
    if (n == file.lastRead)
        return file.item;
    qelValue archive = qelOpenArchive(qelLocateFile(file.name, "DTT"), 0);
    if (archive.type() != QEL_ARCHIVE_TYPE)
        return qelNil;
    int32_t count = qelCount(archive);
    // The archive reports an item outside the file; nothing is kept then.
    qelValue item = qelGet(archive, n);
    if (n < 0 || n >= count)
        return qelNil;
    if (makeCurrent)
        setCachedIDList(item, file.kind);
    file.lastRead = n;
    file.item = item;
    return item;
}

} // namespace

qelValue getCachedIDList(int32_t kind)
{
    int32_t slot = slotOf(kind);
    if (slot >= 0 && currentIdLists[slot].type() == QEL_LIST_TYPE)
        return currentIdLists[slot];
    return qelNewIntList(4);
}

void setCachedIDList(const qelValue& list, int32_t kind)
{
    int32_t slot = slotOf(kind);
    if (slot >= 0)
        currentIdLists[slot] = list;
}

qelValue loadIDCatList(int32_t n, int32_t makeCurrent)
{
    return loadCategory(entryCategories, n, makeCurrent != 0);
}

qelValue loadATCatList(int32_t n, int32_t makeCurrent)
{
    return loadCategory(atlasCategories, n, makeCurrent != 0);
}

qelValue loadIDMidList(int32_t n)
{
    return loadCategory(mediaCategories, n, true);
}

void releaseCategoryLists()
{
    for (qelValue& list : currentIdLists)
        list = qelNil;
    for (CategoryFile* file : { &entryCategories, &atlasCategories, &mediaCategories }) {
        file->lastRead = -1;
        file->item = qelNil;
    }
}
