#pragma once

#include <cstdint>

class qelValue;

// Errors of the framework go through two process-wide hooks.
//
// The error hook receives the message (a string value) and answers nonzero to end the program,
// 0 to let the caller go on with its neutral result. The fatal hook receives -1 and ends the
// process when it does not return. Both start as the defaults below; start-up replaces the error
// hook with one that also shows a message box, and tests install a hook that records and returns.

using qelErrorHook = int (*)(const qelValue& message);
using qelFatalHook = void (*)(int code);

// Install a hook and return the previous one. A null error hook sends every error straight to
// the fatal hook; with no fatal hook either, qelError simply returns.
qelErrorHook qelSetErrorHook(qelErrorHook hook);
qelFatalHook qelSetFatalHook(qelFatalHook hook);

// Writes the message to stderr (as UTF-8) and asks for the end of the program.
int qelDefaultErrorHook(const qelValue& message);
// Writes "\n[Exiting abnormally...]\n" to stderr and ends the process.
[[noreturn]] void qelDefaultFatalHook(int code);

// Reports a failure. A message that is not a string value reaches the hook as
// "Bogus argument passed to qelError()". Never throws.
void qelError(const qelValue& message);
void qelError(const char* message);

// "Bad type for argument " + argumentNumber + " of " + signature + "."
void qelArgTypeError(const char* signature, int32_t argumentNumber);

// Calls the fatal hook, if any, with the code (the allocator uses it when memory is refused).
void qelFatal(int code);
