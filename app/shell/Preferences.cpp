#include "app/shell/Preferences.h"

#include "app/shell/ErrorCapture.h"
#include "app/shell/UserFiles.h"
#include "framework/display/Volume.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Encoding.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/Table.h"
#include "platform/sys/File.h"

namespace {

// The switches stored beside the volume, applied in this order.
constexpr const char* switches[] = { "RolloverHelp", "SoundEffects", "ShowIntro", "PlayNarrator", "ShowFullScreen",
    "FullScreenVideo", "MaximizeWindow" };

// The shipped volume when no file was read.
constexpr int32_t defaultVolume = 75;

// Reading mode; writing that creates the file anew.
constexpr int32_t readMode = 1;
constexpr int32_t writeCreateMode = 10;

// The stored table, or nil when there is no file or it does not read back as a table.
qelValue readPreferencesFile(const qelValue& path)
{
    if (!qelLocatedFileExists(path))
        return qelNil;
    qelValue prefs;
    bool damaged = false;
    {
        ErrorCapture errors;
        qelValue file = qelOpenFileStream(path, readMode, 1);
        if (file.isNil())
            return qelNil;
        prefs = qelDecode(file);
        damaged = errors.failed() || prefs.type() != QEL_TABLE_TYPE;
    }
    if (damaged) {
        moveUserFileAside(path, "PREFS.BAD");
        return qelNil;
    }
    return prefs;
}

} // namespace

qelValue preferencesPath()
{
    return userFilePath("PREFS.DAT");
}

void loadPreferences()
{
    // Without the content's global table (the agenda alone, no disc) the stored preferences still
    // apply; there is then nothing to keep them in until the next save.
    qelValue table = qelLoadResource("GlobalTable");
    bool hasTable = table.type() == QEL_TABLE_TYPE;
    qelValue prefs = readPreferencesFile(preferencesPath());
    if (prefs.isNil()) {
        prefs = hasTable ? qelGet(table, qelValue("Preferences")) : qelNil;
        if (prefs.type() != QEL_TABLE_TYPE)
            prefs = qelTable(8, 100, 75);
        qelPut(prefs, qelValue("Volume"), qelMakeInt(defaultVolume));
    } else {
        qelSetVolume(qelIntValue(qelGet(prefs, qelValue("Volume"))));
        for (const char* key : switches)
            qelSetPreference(qelValue(key), qelGet(prefs, qelValue(key)));
    }
    if (hasTable)
        qelPut(table, qelValue("Preferences"), prefs);
}

bool savePreferences()
{
    if (!qelIsFullInstall())
        return true;
    qelValue prefs = qelGet(qelLoadResource("GlobalTable"), qelValue("Preferences"));
    if (prefs.type() != QEL_TABLE_TYPE)
        return true;
    // The table goes to a new file first, so a failed write keeps the old preferences.
    qelValue path = preferencesPath();
    qelValue temporary = path + ".new";
    bool written = false;
    {
        ErrorCapture errors;
        qelValue file = qelOpenFileStream(temporary, writeCreateMode, 1);
        if (!file.isNil())
            written = qelEncode(file, prefs) && !errors.failed();
    }
    if (written)
        written = platform::File::rename(qelPlatformPath(temporary), qelPlatformPath(path));
    if (!written) {
        qelDeleteFile(temporary);
        qelMessageBox(qelValue("Aviso! N\xE3o foi poss\xEDvel salvar prefer\xEAncias no disco!"));
    }
    return written;
}
