// The velarim program: the start-up with the program's hooks.

#include "app/AppHooks.h"
#include "app/Startup.h"

int main(int argc, char** argv)
{
    return velarimStart(argc, argv, velarimHooks());
}
