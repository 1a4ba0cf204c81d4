#include "app/reference/TourFile.h"

#include "app/shell/UserFiles.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"

#include <cstring>

namespace {

bool isIntList(const qelValue& value)
{
    qelListObject* list = qelListObjectOf(value);
    return list && list->kind() == QEL_INT_LIST;
}

// A tour table the dialogs can use as it is: the names a list of strings, each name's tour an
// int list (a name without its tour reads as an empty tour).
bool isTourTable(const qelValue& tours)
{
    qelTableObject* table = qelTableOf(tours);
    if (!table)
        return false;
    if (table->find(tourNamesKey) < 0)
        return true;
    qelValue names = table->get(tourNamesKey);
    qelListObject* list = qelListObjectOf(names);
    if (!list || (list->count > 0 && list->kind() != QEL_GENERAL_LIST))
        return false;
    for (int32_t i = 0; i < list->count; ++i) {
        qelValue name = list->elementAt(i);
        if (!name.isString() || name == tourNamesKey)
            return false;
        if (table->find(name) >= 0 && !isIntList(table->get(name)))
            return false;
    }
    return true;
}

} // namespace

qelValue tourFilePath()
{
    return userFilePath(tourFileName);
}

qelValue readTours()
{
    qelValue path = tourFilePath();
    if (!qelLocatedFileExists(path))
        return qelNil;
    qelValue tours = readUserFile(path);
    if (!isTourTable(tours)) {
        moveUserFileAside(path, tourAsideName);
        return qelNil;
    }
    return tours;
}

bool writeTours(const qelValue& tours)
{
    return writeUserFile(tourFilePath(), tours);
}

bool isLockedTour(const qelValue& name)
{
    return name.isString() && std::strncmp(qelCString(name), "**", 2) == 0;
}
