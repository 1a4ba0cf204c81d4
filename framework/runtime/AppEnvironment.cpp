#include "framework/runtime/AppEnvironment.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/Table.h"

#include <map>
#include <string>

const char* const qelFrameworkControlClasses[21] = { "Bitmap", "Button", "CheckBox", "RadioButton", "RadioGroup",
    "ComboBox", "ComboEdit", "TextCombo", "ListBox", "MultiListBox", "Slider", "Scroller", "StaticText", "Table",
    "TextField", "Menu", "PhotoView", "TextView", "HotSpot", "VideoView", "Group" };

namespace {

std::map<std::string, qelPrototypeMaker>& prototypeMakers()
{
    static std::map<std::string, qelPrototypeMaker> makers;
    return makers;
}

// The wait cursor while a piece of work runs; the previous cursor afterwards.
class WaitCursor {
public:
    WaitCursor()
    {
        qelEnvironmentServices& services = qelServices();
        m_previous = services.setCursor(services.waitCursor());
    }
    ~WaitCursor() { qelServices().setCursor(m_previous); }

private:
    qelValue m_previous;
};

} // namespace

void qelSetControlPrototypeMaker(const char* className, qelPrototypeMaker maker)
{
    prototypeMakers()[className] = maker;
}

qelNamedObject* qelMakeControlPrototype(const char* className)
{
    auto found = prototypeMakers().find(className);
    return found != prototypeMakers().end() && found->second ? found->second() : nullptr;
}

qelAppEnvironment::qelAppEnvironment(const qelValue&)
{
    WaitCursor wait;

    // The environment is not current yet: these go into its own settings table.
    setSetting("DisableDrawingAttributeCaching", qelTrue);
    setSetting("ActiveVideoPalette", qelTrue);
    setSetting("OffscreenPalette", qelTrue);
    setSetting("MediaPath", "Media");
    setSetting("AltDatabasePath", qelNil);
    setSetting("FullScreenVideo", qelFalse);
    setSetting("MaximizeWindow", qelFalse);
    setSetting("DownloadDir", "DOWNLOAD");
    setSetting("RemoveDownloadFiles", qelFalse);
    setSetting("ShowIntro", qelFalse);
    setSetting("UseCompiledResources", qelTrue);
    setSetting("PhotoPath", "Photos");
    setSetting("VideoPath", "Movies");
    setSetting("SoundPath", "Sounds");
    setSetting("AltVideoPath", qelNil);
    setSetting("CompileForms", qelFalse);
    setSetting("CompileResources", qelFalse);
    setSetting("SystemPlatform", "WIN32");
    setSetting("ResourceExtension", "tbl");
    setSetting("VideoExtension", "avi");
    setSetting("AudioExtension", "wav");
    setSetting("BitmapExtension", "bmp");
    setSetting("PhotoExtension", "jpg");
    setSetting("TestMode", qelFalse);

    for (const char* name : qelFrameworkControlClasses)
        registerClass(qelMakeControlPrototype(name));

    qelEnvironmentServices& services = qelServices();
    setGlobal("HandCursor", services.cursorFromResource(102));
    setGlobal("KeyCursor", services.cursorFromResource(104));
}

void qelAppEnvironment::registerClasses()
{
    WaitCursor wait;
    savedVolume = qelServices().audioVolume();

    qelTableObject* table = qelTableOf(settings);
    if (table && qelIsTrue(table->get("FullInstall")))
        putSetting("ResourcePath", qelPathJoin(qelAppDirectory(), table->get("MediaPath")), 0);

    qelValue loaded = qelLoadResource(qelLocateFile("global", "etn"));
    // Only a table has entries to copy; anything else in the file is left alone.
    if (qelTableObject* entries = qelTableOf(loaded)) {
        for (int32_t slot = entries->firstIndex(); slot >= 0; slot = entries->nextIndex(slot))
            setGlobal(entries->keyAt(slot), entries->valueAt(slot));
    }
}

void qelAppEnvironment::onStart()
{
    if (!abandoned)
        qelServices().setCursor(qelServices().waitCursor());
}

int32_t qelAppEnvironment::onQuit()
{
    return 1;
}

void qelAppEnvironment::shutdown()
{
    qelEnvironment::onQuit();
    if (!abandoned) {
        qelHelpQuit();
        qelServices().setAudioVolume(savedVolume);
    }
}

void qelAppEnvironment::onMouseDown(int32_t x, int32_t y, int32_t modifiers, int32_t clicks)
{
    qelEnvironment::onMouseDown(x, y, modifiers, clicks);
}

void qelAppEnvironment::onKey(int32_t keyCode, int32_t modifiers)
{
    if (keyCode == QEL_KEY_F4 && (modifiers & QEL_ALT_KEY))
        qelPostQuit();
    qelEnvironment::onKey(keyCode, modifiers);
}
