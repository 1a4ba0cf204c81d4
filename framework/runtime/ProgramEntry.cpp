#include "framework/runtime/ProgramEntry.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/CurrentEnvironment.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/Folders.h"
#include "platform/sys/LocalTime.h"
#include "platform/sys/SingleInstance.h"
#include "platform/window/WindowSystem.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const qelAppHooks* installedHooks = nullptr;
qelValue applicationTitle;
qelValue programDirectory;
platform::WindowSystem* windowSystem = nullptr;
// The back end that a later copy's request raises; read on the single-instance listener thread.
std::atomic<platform::Backend*> raiseTarget = nullptr;

std::string textOf(const qelValue& value)
{
    if (qelStringObject* string = qelStringOf(value))
        return std::string(string->chars(), size_t(string->length()));
    return {};
}

// The words of the command line as the list the application receives: the words joined with
// blanks and split again at every blank, so an empty line gives an empty list.
qelValue commandLineList(const std::vector<std::string>& words)
{
    std::string line;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i)
            line += ' ';
        line += words[i];
    }
    if (line.empty())
        return qelMakeList(4, 100, QEL_GENERAL_LIST);
    std::string cp1252 = platform::cp1252::fromUtf8(line);
    return qelTokenize(qelStringValueN(cp1252.data(), int32_t(cp1252.size())), " ");
}

} // namespace

const qelAppHooks* qelApplicationHooks()
{
    return installedHooks;
}

qelValue qelAppTitle()
{
    return applicationTitle;
}

qelValue qelAppDirectory()
{
    return programDirectory;
}

void qelSetAppDirectoryFromPath(const qelValue& programPath)
{
    programDirectory = qelDirectoryPart(programPath);
}

platform::WindowSystem* qelWindowSystem()
{
    return windowSystem;
}

void qelSetWindowSystem(platform::WindowSystem* system)
{
    windowSystem = system;
}

void qelDebugOutput(const qelValue& text)
{
    std::string utf8 = platform::cp1252::toUtf8(textOf(text));
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

namespace {

int showBox(const qelValue& text, const std::string& caption, uint32_t type)
{
    if (!windowSystem) {
        qelDebugOutput(text);
        qelDebugOutput("\n");
        return 0;
    }
    return windowSystem->messageBox(textOf(text), caption, type);
}

} // namespace

void qelMessageBox(const qelValue& text)
{
    showBox(text, textOf(applicationTitle), platform::MB_OK);
}

int32_t qelConfirmBox(const qelValue& text)
{
    return showBox(text, textOf(applicationTitle), platform::MB_OKCANCEL) == platform::IDOK ? 1 : 0;
}

int32_t qelCurrentTime()
{
    return int32_t(platform::currentTimeSeconds());
}

qelValue qelDateTime(int32_t time)
{
    qelValue table = qelTable(9, 100, 75);
    qelTableObject* t = qelTableOf(table);
    auto parts = platform::localTime(time);
    if (!parts)
        return table;
    t->put("Seconds", parts->second);
    t->put("Minutes", parts->minute);
    t->put("Hours", parts->hour);
    t->put("Day", parts->day);
    t->put("Month", parts->month);
    t->put("Year", parts->year);
    t->put("Day of Week", parts->weekDay);
    t->put("Day of Year", parts->yearDay);
    t->put("Daylight Savings Time", parts->daylightSaving ? qelMakeBoolean(*parts->daylightSaving) : qelNil);
    return table;
}

int qelEntryErrorHook(const qelValue& message)
{
    qelDebugOutput(message);
    qelDebugOutput("\n");
    if (windowSystem)
        windowSystem->messageBox(textOf(message), "ERROR", platform::MB_OK);
    return 1;
}

void qelEntryFatalHook(int)
{
    // The failing call may sit inside the environment's own work, and its destructor may fail
    // again: the environment is deleted once, and a second call goes straight to the exit.
    static bool ending = false;
    if (!ending) {
        ending = true;
        qelDeleteCurrentEnvironment();
    }
    std::fputs("\n[Exiting abnormally...]\n", stderr);
    std::fflush(nullptr);
    std::_Exit(255);
}

int qelMain(const qelEntryParams& params, const qelAppHooks& hooks)
{
    qelFatalHook previousFatal = qelSetFatalHook(&qelEntryFatalHook);
    qelErrorHook previousError = qelSetErrorHook(&qelEntryErrorHook);
    struct RestoreHooks {
        qelFatalHook fatal;
        qelErrorHook error;
        ~RestoreHooks()
        {
            qelSetErrorHook(error);
            qelSetFatalHook(fatal);
            installedHooks = nullptr;
        }
    } restore { previousFatal, previousError };
    installedHooks = &hooks;
    applicationTitle = hooks.appTitle ? hooks.appTitle() : qelEmptyString();

    std::string folder = params.programFolder.empty() ? platform::programFolder() : params.programFolder;

    // One copy per user folder and title; a later copy asks the running one to raise its window.
    auto instance = std::make_unique<platform::SingleInstance>(
        platform::userFolder(), platform::cp1252::toUtf8(textOf(applicationTitle)));
    bool first = instance->acquire([] {
        if (platform::Backend* backend = raiseTarget.load())
            backend->requestRaise();
    });
    if (!first)
        return 0;

    std::unique_ptr<platform::Backend> backend = params.makeBackend ? params.makeBackend() : nullptr;
    if (!backend)
        return 1;
    raiseTarget = backend.get();
    auto system = std::make_unique<platform::WindowSystem>(std::move(backend));
    windowSystem = system.get();

    std::string cp1252Folder = platform::cp1252::fromUtf8(folder);
    programDirectory = qelStringValueN(cp1252Folder.data(), int32_t(cp1252Folder.size()));

    // The display is true colour: there is no system palette to clear before the window opens.

    qelValue commandLine = commandLineList(params.words);
    if (hooks.CreateApplication)
        hooks.CreateApplication(commandLine);

    applicationTitle = qelNil;
    programDirectory = qelNil;
    qelDeleteCurrentEnvironment();

    // The listener must stop before the back end it raises goes away.
    raiseTarget = nullptr;
    instance.reset();
    windowSystem = nullptr;
    system.reset();
    return 0;
}
