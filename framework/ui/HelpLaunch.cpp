#include "framework/ui/HelpLaunch.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/EnvironmentServices.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/StringObject.h"

qelValue qelHelpPage(const qelValue& helpFile)
{
    qelStringObject* text = qelStringOf(helpFile);
    if (!text)
        return qelNil;
    // The extension is what follows the last dot of the file's own name (not of a folder).
    int32_t cut = text->length();
    for (int32_t i = text->length() - 1; i > 0; --i) {
        char c = text->chars()[i];
        if (c == '/' || c == '\\')
            break;
        if (c == '.') {
            cut = i;
            break;
        }
    }
    return qelStringValueN(text->chars(), cut) + ".html";
}

bool qelHelpFileExists(const qelValue& helpFile)
{
    if (!helpFile.isString())
        return false;
    return qelLocatedFileExists(helpFile) || qelLocatedFileExists(qelHelpPage(helpFile));
}

int32_t qelLaunchHelp(const qelValue& helpFile, int32_t)
{
    return qelOpenWithDesktop(qelHelpPage(helpFile));
}

void qelInstallHelpLaunch()
{
    qelServices().showHelp = qelLaunchHelp;
}
