#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/Value.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
qelErrorHook errorHook = qelDefaultErrorHook;
qelFatalHook fatalHook = qelDefaultFatalHook;
} // namespace

qelErrorHook qelSetErrorHook(qelErrorHook hook)
{
    qelErrorHook previous = errorHook;
    errorHook = hook;
    return previous;
}

qelFatalHook qelSetFatalHook(qelFatalHook hook)
{
    qelFatalHook previous = fatalHook;
    fatalHook = hook;
    return previous;
}

int qelDefaultErrorHook(const qelValue& message)
{
    std::string text = qelToUtf8(qelCString(message));
    text += '\n';
    std::fputs(text.c_str(), stderr);
    return 1;
}

void qelDefaultFatalHook(int code)
{
    std::fputs("\n[Exiting abnormally...]\n", stderr);
    std::fflush(nullptr);
    std::_Exit(code);
}

void qelFatal(int code)
{
    if (fatalHook)
        fatalHook(code);
}

void qelError(const qelValue& message)
{
    if (!errorHook) {
        qelFatal(-1);
        return;
    }
    int endProgram;
    if (message.type() == QEL_STRING_TYPE)
        endProgram = errorHook(message);
    else
        endProgram = errorHook(qelValue("Bogus argument passed to qelError()"));
    if (endProgram)
        qelFatal(-1);
}

void qelError(const char* message)
{
    qelError(qelValue(message));
}

void qelArgTypeError(const char* signature, int32_t argumentNumber)
{
    std::string text = "Bad type for argument " + std::to_string(argumentNumber) + " of " + signature + ".";
    qelError(qelStringValueN(text.data(), int32_t(text.size())));
}
