#include "tools/common/ToolErrors.h"

#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextEncoding.h"

#include <cstdio>
#include <cstdlib>

namespace {

void (*cleanUpBeforeExit)() = nullptr;

int printFrameworkError(const qelValue& message)
{
    std::fprintf(stderr, "%s\n", qelToUtf8(qelCString(message)).c_str());
    return 1; // end the tool through the fatal hook
}

[[noreturn]] void exitWithError(int)
{
    if (cleanUpBeforeExit)
        cleanUpBeforeExit();
    std::fflush(stdout);
    std::exit(1);
}

} // namespace

void qelToolInstallErrorHooks(void (*cleanUp)())
{
    cleanUpBeforeExit = cleanUp;
    qelSetErrorHook(printFrameworkError);
    qelSetFatalHook(exitWithError);
}

void qelToolFail(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    exitWithError(1);
}

void qelToolUsage(const char* usage)
{
    std::fputs(usage, stderr);
    std::exit(2);
}
