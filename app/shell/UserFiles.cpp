#include "app/shell/UserFiles.h"

#include "app/shell/ErrorCapture.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/File.h"
#include "platform/sys/Folders.h"

#include <string>

qelValue userFilePath(const char* name)
{
    std::string text = platform::cp1252::fromUtf8(platform::userFolder());
    return qelPathJoin(qelStringValueN(text.data(), int32_t(text.size())), name);
}

bool moveUserFileAside(const qelValue& path, const char* asideName)
{
    qelValue aside = qelPathJoin(qelDirectoryPart(path), asideName);
    std::string from = qelPlatformPath(path);
    std::string to = qelPlatformPath(aside);
    if (from.empty() || to.empty())
        return false;
    bool moved = platform::File::rename(from, to);
    std::string note = std::string(qelCString(qelFileNamePart(path)))
        + (moved ? " danificado; guardado como " + std::string(asideName) : " danificado") + "\n";
    qelDebugOutput(qelStringValueN(note.data(), int32_t(note.size())));
    return moved;
}

qelValue readUserFile(const qelValue& source)
{
    ErrorCapture errors;
    qelValue archive = qelOpenArchive(source, 0);
    if (errors.failed() || archive.type() != QEL_ARCHIVE_TYPE || qelCount(archive) < 1)
        return qelNil;
    qelValue value = qelGet(archive, 0);
    return errors.failed() ? qelNil : value;
}

bool writeUserFile(const qelValue& path, const qelValue& value)
{
    // The directory's starting room; it does not change the file's bytes.
    constexpr int32_t archiveCapacity = 100;
    ErrorCapture errors;
    {
        qelValue archive = qelCreateArchive(path, archiveCapacity);
        if (qelArchiveObject* object = qelArchiveOf(archive)) {
            object->add(value);
            object->flush();
        }
    }
    if (!errors.failed())
        return true;
    std::string note
        = std::string(qelCString(qelFileNamePart(path))) + " n\xe3o foi gravado: " + errors.firstMessage() + "\n";
    qelDebugOutput(qelStringValueN(note.data(), int32_t(note.size())));
    return false;
}
