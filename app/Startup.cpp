#include "app/Startup.h"

#include "app/AppHooks.h"
#include "framework/display/AppWindow.h"
#include "framework/display/Cursor.h"
#include "framework/display/DisplayMakers.h"
#include "framework/display/DrawingInterface.h"
#include "framework/display/MovieObject.h"
#include "framework/display/PrintPort.h"
#include "framework/display/Sound.h"
#include "framework/display/WindowObject.h"
#include "framework/richtext/TextLayout.h"
#include "framework/richtext/TextMap.h"
#include "framework/richtext/TextView.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/Resource.h"
#include "framework/ui/FormLayer.h"
#include "framework/ui/HelpLaunch.h"
#include "framework/ui/PrintSetupDialog.h"
#include "platform/sys/Folders.h"
#include "platform/sys/IniFile.h"
#include "platform/sys/Launch.h"
#include "platform/sys/ProgramName.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/Script.h"
#include "platform/window/SdlBackend.h"

#include <cstdio>

// ---- The program's name --------------------------------------------------------------------

void velarimNameProgram()
{
    platform::setProgramName("velarim");
}

// ---- Options -------------------------------------------------------------------------------

namespace {

void printHelp()
{
    std::printf("Usage: velarim [options] [Agenda]\n"
                "\n"
                "Options:\n"
                "  --headless      run without a display (virtual clock, nothing shown)\n"
                "  --disk DIR      run an installation on the content folder DIR: VL98.ini and the\n"
                "                  registry file are read from DIR, and DIR is the source disk\n"
                "  --script FILE   the input script of a headless run\n"
                "  --screens DIR   where the script's shot lines write their pictures\n"
                "  --help          this text\n"
                "\n"
                "Environment:\n"
                "  VELARIM_USER_DIR  the folder for the user's files (preferences, marks, agenda);\n"
                "                    without it $XDG_DATA_HOME/velarim, or ~/.local/share/velarim\n"
                "  VELARIM_DRIVES    folders for the drive letters that settings and content name,\n"
                "                    for example D=/media/cdrom;E=/srv/velarim\n"
                "\n"
                "The user's files are kept in %s\n",
        platform::userFolder().c_str());
}

} // namespace

bool velarimParseOptions(int argc, char** argv, velarimOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        auto valueOf = [&](std::string& target) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "velarim: %s needs a value\n", word.c_str());
                return false;
            }
            target = argv[++i];
            return true;
        };
        if (word == "--headless")
            options.headless = true;
        else if (word == "--help")
            options.help = true;
        else if (word == "--script" || word == "--screens" || word == "--disk") {
            if (!valueOf(word == "--script" ? options.script : word == "--screens" ? options.screens : options.disk))
                return false;
        } else
            options.words.push_back(word);
    }
    if (!options.script.empty() && !options.headless) {
        std::fprintf(stderr, "velarim: --script needs --headless\n");
        return false;
    }
    return true;
}

// ---- The window back end -------------------------------------------------------------------

std::unique_ptr<platform::Backend> velarimMakeBackend(const velarimOptions& options)
{
    if (!options.headless) {
        std::string error;
        auto backend = platform::SdlBackend::create(&error);
        if (!backend)
            std::fprintf(stderr, "velarim: cannot open the display: %s\n", error.c_str());
        return backend;
    }
    platform::HeadlessBackend::Options headlessOptions;
    headlessOptions.screensFolder = options.screens;
    // What the program puts on the clipboard is listed beside the shots too.
    headlessOptions.clipboardFile = options.screens + "/clipboard.txt";
    // A headless run never starts a browser: what it would open is listed beside the shots.
    platform::recordLaunches(options.screens + "/launches.txt");
    auto backend = std::make_unique<platform::HeadlessBackend>(headlessOptions);
    if (!options.script.empty()) {
        // Scripts are a few hundred lines; the bound keeps a wrong file from filling memory.
        auto text = platform::readSmallFile(options.script, 16 * 1024 * 1024);
        if (!text) {
            std::fprintf(stderr, "velarim: cannot read the script %s\n", options.script.c_str());
            return nullptr;
        }
        auto parsed = platform::Script::parse(*text);
        if (auto* error = std::get_if<platform::ScriptError>(&parsed)) {
            std::fprintf(stderr, "velarim: %s:%d: %s\n", options.script.c_str(), error->line, error->message.c_str());
            return nullptr;
        }
        backend->setScript(std::get<platform::Script>(parsed));
    }
    return backend;
}

// ---- Services, lowest layer first ----------------------------------------------------------
// The runtime installs its own resource makers when an environment is made; each layer above
// fills the hooks of the layers below it.

namespace {

uint32_t windowHandle(const qelValue& window)
{
    qelWindowBase* object = qelWindowOf(window);
    return object ? object->handle : 0;
}

// The main window is the port the drawing operations draw on, from its creation to its end.
qelValue createMainPort()
{
    qelValue window = qelCreateMainWindow();
    qelSetMainPort(window);
    return window;
}

void destroyMainPort(const qelValue& window)
{
    qelSetMainPort(qelNil);
    qelDestroyMainWindow(window);
}

} // namespace

void velarimInstallDisplayValues()
{
    // Decoded and read regions, fonts and images are the display's own values.
    qelInstallDisplayMakers();
}

void velarimInstallDisplayServices()
{
    // The application window (the drawing port) and its cursors.
    qelEnvironmentServices& services = qelServices();
    services.createMainWindow = createMainPort;
    services.placeMainWindow = qelPlaceMainWindow;
    services.destroyMainWindow = destroyMainPort;
    services.windowHandle = windowHandle;
    services.setCursor = qelSetCursor;
    services.waitCursor = qelWaitCursor;
    services.cursorFromResource = qelCursorFromResource;
    // Windows are the display's window objects, its values are real, and font names are
    // resources.
    qelInstallWindowObjectMaker();
    velarimInstallDisplayValues();
    qelSetFontResolver(qelLoadResource);
    // Sounds and music, their end notices and the volume; print jobs draw through the port.
    qelInstallSoundServices();
    qelInstallMovieServices();
    qelInstallPrintPort();
}

void velarimInstallUiServices()
{
    // Forms and controls are the form layer's, navigation goes through it, and help pages open
    // in the help viewer.
    qelInstallFormLayer();
    qelInstallHelpLaunch();
    qelInstallPrintSetupDialog();
}

void velarimInstallRichTextServices()
{
    // Laid-out texts decode as text maps; the pictures they name are resources.
    qelInstallTextMapMaker();
    qelUseResourcePictures();
    qelInstallTextView();
}

void velarimInstallServices()
{
    velarimInstallDisplayServices();
    velarimInstallUiServices();
    velarimInstallRichTextServices();
}

// ---- The run -------------------------------------------------------------------------------

int velarimRun(const velarimOptions& options, const qelAppHooks& hooks)
{
    velarimSetDiskFolder(options.disk);
    qelEntryParams params;
    params.programFolder = options.disk;
    params.words = options.words;
    params.makeBackend = [&options] { return velarimMakeBackend(options); };
    return qelMain(params, hooks);
}

int velarimStart(int argc, char** argv, const qelAppHooks& hooks)
{
    velarimNameProgram();
    velarimOptions options;
    if (!velarimParseOptions(argc, argv, options))
        return 1;
    if (options.help) {
        printHelp();
        return 0;
    }
    velarimInstallServices();
    return velarimRun(options, hooks);
}
