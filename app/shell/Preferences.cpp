#include "app/shell/Preferences.h"

#include "app/shell/ErrorCapture.h"
#include "app/shell/PlainDecoder.h"
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

#include <algorithm>
#include <string>

namespace {

// The switches stored beside the volume, applied in this order.
constexpr const char* switches[] = { "RolloverHelp", "SoundEffects", "ShowIntro", "PlayNarrator", "ShowFullScreen",
    "FullScreenVideo", "MaximizeWindow" };

// The shipped volume when no file was read.
constexpr int32_t defaultVolume = 75;

// Writing that creates the file anew.
constexpr int32_t writeCreateMode = 10;

// Why: the stored table is a few hundred bytes; a file far larger is not one this program wrote,
// and is not read into memory whole.
constexpr int64_t largestPreferencesFile = 64 * 1024;

// The stored table, or nil when there is no file (or an empty one, left as it is) or it does not
// read back as a table of plain values (then it is moved aside, and written anew at exit).
qelValue readPreferencesFile(const qelValue& path)
{
    if (!qelLocatedFileExists(path))
        return qelNil;
    platform::File file = platform::File::open(qelPlatformPath(path), platform::FileOpenOptions {});
    if (!file.isOpen())
        return qelNil;
    int64_t size = file.size();
    if (size == 0)
        return qelNil;
    std::string bytes;
    std::string error = "too large";
    qelValue prefs;
    if (size > 0 && size <= largestPreferencesFile) {
        bytes.resize(size_t(size));
        if (file.readAt(0, bytes.data(), bytes.size()) == size)
            prefs = decodePlainValue(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error);
        else
            error = "cannot be read";
    }
    file.close();
    if (!error.empty() || prefs.type() != QEL_TABLE_TYPE) {
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
        // A stored volume is brought into the device's range; a table without one (or with
        // something else in its place) leaves the volume as it is rather than silencing it.
        qelValue volume = qelGet(prefs, qelValue("Volume"));
        if (volume.type() == QEL_INT_TYPE)
            qelSetVolume(std::clamp(qelIntValue(volume), 0, qelGetIntSetting("Volume Range", 100)));
        // A switch the table lacks keeps the value the settings already hold.
        for (const char* key : switches) {
            if (qelContainsKey(prefs, qelValue(key)))
                qelSetPreference(qelValue(key), qelGet(prefs, qelValue(key)));
        }
    }
    if (hasTable)
        qelPut(table, qelValue("Preferences"), prefs);
}

bool savePreferences()
{
    if (!qelIsFullInstall())
        return true;
    qelValue table = qelLoadResource("GlobalTable");
    qelValue prefs = qelTableOf(table) ? qelGet(table, qelValue("Preferences")) : qelNil;
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
