#include "framework/runtime/FileLocator.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/Directory.h"
#include "platform/sys/Launch.h"

#include <string>

bool qelLocatedFileExists(const qelValue& path)
{
    qelStringObject* text = qelStringOf(path);
    if (!text || text->length() <= 0)
        return false;
    return platform::pathExists(platform::cp1252::toUtf8(std::string_view(text->chars(), size_t(text->length()))));
}

int32_t qelOpenWithDesktop(const qelValue& path)
{
    qelStringObject* text = qelStringOf(path);
    if (!text)
        return 0;
    std::string resolved = platform::resolvePath(platform::cp1252::toUtf8({ text->chars(), size_t(text->length()) }));
    return platform::openWithDesktop(resolved) ? 1 : 0;
}

qelValue qelLocateFile(const qelValue& name, const qelValue& extension)
{
    qelValue fileName = name;
    qelValue lowerExtension;
    if (!extension.isNil()) {
        lowerExtension = qelLowerCase(extension);
        fileName = name + "." + lowerExtension;
    } else {
        lowerExtension = qelLowerCase(qelExtension(name));
    }

    qelValue path;
    qelValue folders = qelGetSetting(lowerExtension);
    if (!folders.isString()) {
        // A folder setting that is no string (a number from the application) is taken as absent.
        path = qelPathJoin(qelMediaPath(), fileName);
    } else if (qelFindChar(folders, ';', 0) >= 0) {
        qelValue list = qelTokenize(folders, ";");
        int32_t count = qelCount(list);
        for (int32_t i = 0; i < count; ++i) {
            path = qelPathJoin(qelGet(list, i), fileName);
            if (qelLocatedFileExists(path))
                return path;
        }
    } else {
        path = qelPathJoin(folders, fileName);
    }

    if (!qelGetSetting("FullInstall").isNil() && !qelLocatedFileExists(path))
        path = qelPathJoin(qelPathJoin(qelGetSettingOr("SourceDisk", ""), qelMediaPath()), fileName);

    if (qelGetBoolSetting("TraceFileOpens", 0) && !qelLocatedFileExists(path))
        qelMessageBox("N\xe3o foi poss\xedvel localizar" + fileName);
    return path;
}

int32_t qelIsFullInstall()
{
    return !qelGetSetting("FullInstall").isNil() && !qelGetSetting("SourceDisk").isNil() ? 1 : 0;
}

qelValue qelGetOr(const qelValue& object, const qelValue& key, const qelValue& defaultValue)
{
    return qelContainsKey(object, key) ? qelGet(object, key) : defaultValue;
}

int32_t qelGetIntProperty(const qelValue& object, const qelValue& key, int32_t defaultValue)
{
    if (!qelContainsKey(object, key))
        return defaultValue;
    qelValue value = qelGet(object, key);
    return value.type() == QEL_INT_TYPE ? value.payload() : defaultValue;
}

int32_t qelReadIntProperty(const qelValue& object, const qelValue& key, int32_t defaultValue)
{
    return qelGetIntProperty(object, key, defaultValue);
}

int32_t qelGetBoolProperty(const qelValue& object, const qelValue& key, int32_t defaultValue)
{
    if (!qelContainsKey(object, key))
        return defaultValue;
    qelValue value = qelGet(object, key);
    return value.type() == QEL_BOOLEAN_TYPE ? (value.payload() != 0 ? 1 : 0) : defaultValue;
}

qelValue qelNewIntList(int32_t capacity)
{
    return qelMakeList(capacity, 100, QEL_INT_LIST);
}
