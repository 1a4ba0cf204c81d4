// The velarim program: the framework's entry with the program's hooks.

#include "app/AppHooks.h"

#include <cstdio>
#include <cstring>

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
                "  VELARIM_USER_DIR  the folder for the user's files (preferences, marks, agenda)\n"
                "  VELARIM_DRIVES    folders for the drive letters that settings and content name,\n"
                "                    for example D=/media/cdrom;E=/srv/velarim\n");
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            printHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--disk") == 0 && i + 1 < argc)
            velarimSetDiskFolder(argv[++i]);
        else if ((std::strcmp(argv[i], "--script") == 0 || std::strcmp(argv[i], "--screens") == 0) && i + 1 < argc)
            ++i;
    }
    velarimInstallDisplayServices();
    return qelMain(argc, argv, velarimHooks());
}
