#include "framework/runtime/EnvironmentServices.h"

#include "framework/runtime/Environment.h"
#include "framework/runtime/EnvironmentForm.h"
#include "framework/runtime/EventQueue.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/Directory.h"
#include "platform/window/WindowSystem.h"

#include <filesystem>
#include <system_error>

namespace {

qelValue noWindow()
{
    // A real window posts the start event when it is created; without one the event is posted
    // here, so the loop starts the same way.
    qelEvent start;
    start.type = QEL_START_EVENT;
    start.time = int32_t(qelClockNow());
    qelPostEvent(start);
    return qelNil;
}

void noWindowAction(const qelValue&)
{
}

uint32_t noHandle(const qelValue&)
{
    return 0;
}

qelValue noCursor(const qelValue&)
{
    return qelNil;
}

qelValue nothing()
{
    return qelNil;
}

qelValue noCursorResource(int32_t)
{
    return qelNil;
}

void noAction()
{
}

int32_t noVolume()
{
    return 0;
}

void noSetVolume(int32_t)
{
}

// Until the form layer installs its navigation: the form's resource is loaded by name and the
// loaded form (a table is made into one) becomes the active form, the previous one closed.
void loadFormByName(const qelValue& name, const qelValue&)
{
    qelValue loaded = qelLoadResource(name);
    if (loaded.type() == QEL_TABLE_TYPE)
        loaded = qelMakers().makeFormFromData(loaded);
    if (loaded.type() != QEL_FORM_TYPE)
        return;
    if (qelFormEventProtocol* previous = qelFormEventsOf(qelActiveForm()))
        previous->close();
    qelSetActiveForm(loaded);
}

qelValue formOverTable(const qelValue& className, const qelValue& resourceTable, const qelValue& name)
{
    qelValue table = qelTable(4, 100, 75);
    qelTableObject* entries = qelTableOf(table);
    entries->put("Class", className);
    entries->put("Resource", resourceTable);
    if (!name.isNil())
        entries->put("Name", name);
    return qelMakers().makeFormFromData(table);
}

qelValue noMovie(const qelValue&, const qelValue&, int32_t)
{
    return qelNil;
}

int32_t noHelp(const qelValue&, int32_t)
{
    return 0;
}

qelEnvironmentServices defaultServices()
{
    qelEnvironmentServices services {};
    services.createMainWindow = noWindow;
    services.placeMainWindow = noWindowAction;
    services.destroyMainWindow = noWindowAction;
    services.windowHandle = noHandle;
    services.setCursor = noCursor;
    services.waitCursor = nothing;
    services.cursorFromResource = noCursorResource;
    services.closeAllMovies = noAction;
    services.stopCurrentSound = noAction;
    services.resetDefaultFont = noAction;
    services.audioVolume = noVolume;
    services.setAudioVolume = noSetVolume;
    services.goToForm = loadFormByName;
    services.makeForm = formOverTable;
    services.movieFromFile = noMovie;
    services.showHelp = noHelp;
    services.helpQuit = noAction;
    return services;
}

qelEnvironmentServices& services()
{
    static qelEnvironmentServices installed = defaultServices();
    return installed;
}

std::string textOf(const qelValue& value)
{
    if (qelStringObject* string = qelStringOf(value))
        return std::string(string->chars(), size_t(string->length()));
    return {};
}

} // namespace

qelEnvironmentServices& qelServices()
{
    return services();
}

void qelResetServices()
{
    services() = defaultServices();
}

void qelCopyTextToClipboard(const qelValue& text)
{
    platform::WindowSystem* system = qelWindowSystem();
    if (!system || !text.isString())
        return;
    // The clipboard holds plain text up to its first NUL.
    system->setClipboardText(std::string(qelCString(text)));
}

qelValue qelPasteTextFromClipboard()
{
    platform::WindowSystem* system = qelWindowSystem();
    if (!system)
        return qelNil;
    std::optional<std::string> text = system->clipboardText();
    if (!text)
        return qelNil;
    std::string plain = text->substr(0, text->find('\0'));
    return qelStringValueN(plain.data(), int32_t(plain.size()));
}

void qelMessageBeep(uint32_t type)
{
    if (platform::WindowSystem* system = qelWindowSystem())
        system->beep(type);
}

qelValue qelChangeDirectory(const qelValue& path)
{
    std::error_code error;
    std::filesystem::path previous = std::filesystem::current_path(error);
    if (error || !path.isString())
        return qelNil;
    // The folder is found as every other open finds its file: either separator, any letter case.
    std::string target = platform::resolvePath(platform::cp1252::toUtf8(textOf(path)));
    std::filesystem::current_path(target, error);
    if (error)
        return qelNil;
    std::string before = platform::cp1252::fromUtf8(previous.string());
    if (before.empty())
        return qelNil;
    return qelStringValueN(before.data(), int32_t(before.size()));
}
