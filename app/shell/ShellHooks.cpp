#include "app/shell/ShellHooks.h"

VelarimShellHooks& velarimShellHooks()
{
    static VelarimShellHooks hooks;
    return hooks;
}
