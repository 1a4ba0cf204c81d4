// Runs qelc over every .frm, .tbl and .lst file of a folder: compile, dump, compile the dump,
// then checks that both encodings decode to equal values; and builds an archive of them whose
// dump lists every item.
#include "../framework/runtime/ValueTreeEqual.h"

#include "framework/runtime/Encoding.h"
#include "framework/runtime/FileStream.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

static int run(const std::string& command)
{
    int status = std::system(command.c_str());
    return status == -1 ? -1 : (status >> 8) & 0xFF;
}

static qelValue load(const fs::path& path)
{
    return qelDecode(qelOpenFileStream(qelStringValue(path.string().c_str()), 1, 0));
}

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    std::string qelc = argv[1];
    fs::path work = argv[3];
    fs::remove_all(work);
    fs::create_directories(work);
    int failures = 0;
    int files = 0;
    std::string archiveInputs;
    for (const auto& entry : fs::directory_iterator(argv[2])) {
        std::string extension = entry.path().extension().string();
        if (extension != ".frm" && extension != ".tbl" && extension != ".lst")
            continue;
        ++files;
        std::string stem = entry.path().stem().string();
        fs::path first = work / (stem + ".etn");
        fs::path text = work / (stem + extension);
        fs::path second = work / (stem + ".again.etn");
        if (run(qelc + " compile '" + entry.path().string() + "' -o '" + first.string() + "'") != 0
            || run(qelc + " dump '" + first.string() + "' > '" + text.string() + "'") != 0
            || run(qelc + " compile '" + text.string() + "' -o '" + second.string() + "'") != 0) {
            std::fprintf(stderr, "%s: qelc failed\n", entry.path().c_str());
            ++failures;
            continue;
        }
        if (!valueTreeEqual(load(first), load(second))) {
            std::fprintf(stderr, "%s: the dump does not read back as the same value\n", entry.path().c_str());
            ++failures;
        }
        archiveInputs += " '" + first.string() + "' '" + entry.path().string() + "'";
    }
    fs::path archive = work / "all.dtt";
    fs::path listing = work / "all.txt";
    if (run(qelc + " archive '" + archive.string() + "'" + archiveInputs) != 0
        || run(qelc + " dump '" + archive.string() + "' > '" + listing.string() + "'") != 0) {
        std::fprintf(stderr, "archive failed\n");
        ++failures;
    } else {
        std::ifstream in(listing);
        std::string line;
        int items = 0;
        while (std::getline(in, line)) {
            if (line == "item " + std::to_string(items))
                ++items;
        }
        if (items != 2 * files) {
            std::fprintf(stderr, "archive dump lists %d items, expected %d\n", items, 2 * files);
            ++failures;
        }
    }
    std::printf("%d files, %d failures\n", files, failures);
    return failures == 0 && files > 0 ? 0 : 1;
}
