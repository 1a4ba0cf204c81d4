#include "app/personal/InternetLauncher.h"

#include "app/shell/UserFiles.h"
#include "framework/display/MovieObject.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/FileStream.h"
#include "framework/runtime/Path.h"
#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/Stream.h"
#include "framework/runtime/StringObject.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/Launch.h"

#include <string>

namespace {

constexpr const char* shortcutHeader = "[InternetShortcut]\nURL=";
constexpr const char* localPageName = "VL97.htm";
// The mode of a file written new: write and create.
constexpr int32_t newFileMode = qelFileStream::Writable | qelFileStream::Create;

std::string bytesOf(const qelValue& text)
{
    qelStringObject* string = qelStringOf(text);
    return string ? std::string(string->chars(), size_t(string->length())) : std::string();
}

qelValue stringValue(const std::string& bytes)
{
    return qelStringValueN(bytes.data(), int32_t(bytes.size()));
}

std::string utf8(const qelValue& text)
{
    return platform::cp1252::toUtf8(bytesOf(text));
}

// The resource as its text; empty when it is no string.
std::string resourceText(const char* name)
{
    qelValue value = qelResolve(qelLoadResource(qelValue(name)));
    return value.isString() ? bytesOf(value) : std::string();
}

// Writes the file anew with exactly these bytes; false when it could not be written.
bool writeNewFile(const qelValue& path, const std::string& bytes)
{
    if (qelFileExists(path))
        qelDeleteFile(path);
    qelValue stream = qelOpenFileStream(path, newFileMode, 1);
    if (stream.isNil())
        return false;
    bool written = bytes.empty() || qelWrite(stream, stringValue(bytes));
    return qelStreamFlush(stream) && written;
}

void deleteIfThere(const qelValue& path)
{
    if (qelFileExists(path))
        qelDeleteFile(path);
}

// The browser named in win.ini's "extensions" section under "WEB", cut before its first blank
// (the rest of such an entry is the document's place holder); nil when there is none.
qelValue browserOfWinIni()
{
    qelValue extensions = qelReadMciExtensions(qelValue("extensions"));
    qelValue entry = qelGet(extensions, qelValue("WEB"));
    if (!entry.isString())
        return qelNil;
    std::string text = bytesOf(entry);
    return stringValue(text.substr(0, text.find(' ')));
}

void rememberBrowser(const qelValue& browser)
{
    qelValue known = qelGetSetting(qelValue("WebBrowser"));
    if (!(known.isString() && known == browser))
        qelSetPreference(qelValue("WebBrowser"), browser);
}

} // namespace

qelValue findAssociatedProgram(const qelValue& path)
{
    if (!qelLocatedFileExists(path))
        return qelNil;
    std::string browser = platform::preferredBrowser();
    if (browser.empty())
        return qelNil;
    return stringValue(platform::cp1252::fromUtf8(browser));
}

int32_t openDocument(const qelValue& verb, const qelValue& target, const qelValue&)
{
    if (!(verb.isNil() || (verb.isString() && verb == "open")) || !target.isString())
        return 0;
    return platform::openWithDesktop(utf8(target)) ? 1 : 0;
}

int32_t openInternetPage(const qelValue& address)
{
    if (!address.isString())
        return 0;
    std::string text = bytesOf(address);

    // The shortcut holds the address for the desktop; it stays after a success.
    std::string shortcutName = resourceText("TempUrlFileName");
    qelValue shortcut = shortcutName.empty() ? qelNil : userFilePath(shortcutName.c_str());
    if (!shortcut.isNil())
        writeNewFile(shortcut, shortcutHeader + text);
    if (openDocument(qelValue("open"), address, qelNil)) {
        qelSetPreference(qelValue("WebBrowser"), qelEmptyString());
        return 1;
    }
    if (!shortcut.isNil())
        deleteIfThere(shortcut);

    // The local page stands for web pages while the user's browser is looked for.
    qelValue page = userFilePath(localPageName);
    if (!qelFileExists(page))
        writeNewFile(page, resourceText("HtmlFakePageStart") + text + resourceText("HtmlFakePageEnd"));
    qelValue browser = findAssociatedProgram(page);
    if (!browser.isString())
        browser = browserOfWinIni();
    if (!browser.isString())
        browser = qelGetSetting(qelValue("WebBrowser"));
    // An empty name (stored after the desktop last opened a page) names no program: the user is
    // told, as when nothing is named.
    if (!browser.isString() || qelCount(browser) == 0) {
        qelMessageBox(qelLoadResource(qelValue("MsgNoBrowserInstalled")));
        deleteIfThere(page);
        return 0;
    }

    if (text.starts_with("file:"))
        text.erase(0, 5);
    std::string program = utf8(browser);
    std::string folder = utf8(qelDirectoryPart(browser));
    bool started = platform::startProgram({ program, platform::cp1252::toUtf8(text) }, folder);
    if (started)
        rememberBrowser(browser);
    deleteIfThere(page);
    return started ? 1 : 0;
}
