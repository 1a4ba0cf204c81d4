#pragma once

// Error hooks for the runtime's fuzz harnesses: every reported error returns, so the readers'
// paths after an error (which must give nil, never crash or hang) are what the fuzzer explores.

#include "framework/runtime/Error.h"

namespace fuzz {

inline int ignoreError(const qelValue&)
{
    return 0;
}

inline void ignoreFatal(int)
{
}

inline void installReturningHooks()
{
    static bool installed = false;
    if (!installed) {
        qelSetErrorHook(ignoreError);
        qelSetFatalHook(ignoreFatal);
        installed = true;
    }
}

} // namespace fuzz
