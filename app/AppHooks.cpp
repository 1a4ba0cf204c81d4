#include "app/AppHooks.h"

#include "app/ShowcaseForm.h"
#include "app/VelarimApp.h"
#include "framework/runtime/EventQueue.h"
#include "framework/ui/DialogObject.h"
#include "framework/ui/MenuDialog.h"

#include "framework/runtime/AppEnvironment.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ProgramEntry.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/IniFile.h"

#include <filesystem>

namespace {

std::string diskFolder;

qelValue appVersion()
{
    return qelStringValue("1.0");
}

qelValue appTitle()
{
    return qelStringValue("Velarim 98");
}

qelValue appShortName()
{
    return qelStringValue("VL98");
}

// A disk whose settings name a "StartupForm" is the framework's showcase: the framework opens
// that form itself. Every other disk is the almanac.
bool diskIsShowcase()
{
    qelValue program = qelAppDirectory();
    if (!program.isString())
        return false;
    std::string folder = platform::cp1252::toUtf8(qelCString(program));
    auto text = platform::readSmallFile(folder + "/" + qelCString(appShortName()) + ".ini", platform::maxIniFileBytes);
    return text && platform::iniValue(*text, "QELENVIRONMENT", "StartupForm").has_value();
}

void createApplication(const qelValue& commandLine)
{
    if (diskIsShowcase())
        velarimRunApplication(new VelarimStartupApp(commandLine));
    else
        velarimRunApplication(new VelarimApp(commandLine));
}

} // namespace

void VelarimStartupApp::registerClasses()
{
    qelAppEnvironment::registerClasses();
    registerClass(new ShowcaseForm(qelNil));
    registerClass(new qelDialogObject());
    registerClass(new MenuDialog());
}

void VelarimStartupApp::onStart()
{
    qelAppEnvironment::onStart();
    if (abandoned)
        return;
    // The periodic timer drives help boxes and menu cascades.
    qelStartTimer(250);
    qelEnvironment::onStart();
}

void velarimRunApplication(qelAppEnvironment* application)
{
    // The content folder is the source disk unless the settings files name another; the media
    // folder is found under it whatever the current directory is.
    if (!diskFolder.empty()) {
        std::string cp1252 = platform::cp1252::fromUtf8(diskFolder);
        application->setSetting("SourceDisk", qelStringValueN(cp1252.data(), int32_t(cp1252.size())));
    }
    application->makeCurrent();
    application->run();
}

const qelAppHooks& velarimHooks()
{
    static const qelAppHooks hooks { appVersion, appTitle, appShortName, createApplication };
    return hooks;
}

void velarimSetDiskFolder(const std::string& folder)
{
    if (folder.empty()) {
        diskFolder.clear();
        return;
    }
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    diskFolder = error ? folder : absolute.lexically_normal().string();
    while (diskFolder.size() > 1 && diskFolder.back() == '/')
        diskFolder.pop_back();
}
