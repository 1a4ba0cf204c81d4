// Feeds fuzzed bytes to the word search as the query typed, over keyword files written once by
// the keyword writer. Byte 0 picks the poll at which a key press stops the search (0: never) and
// the section filter; the rest is the query (cp1252). Nothing may crash, hang or error, and every
// id found must be an item of the index.

#include "FuzzHooks.h"
#include "app/reference/KeywordFiles.h"
#include "app/reference/KeywordWriter.h"
#include "app/reference/SearchEngine.h"
#include "framework/runtime/Archive.h"
#include "recdb/index/IndexObject.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>

namespace {

struct Names final : SearchNames {
    std::string nameOf(int32_t id) override { return id % 3 ? "Verbetes: " + std::to_string(id % 97) : ""; }
};

struct Texts final : SearchEntryTexts {
    bool entryTexts(int32_t listId, std::string& heading, std::string& text) override
    {
        if (listId % 5 == 0)
            return false;
        heading = "Rio Janeiro";
        text = "{\\b S\xE3o Paulo} e rio janeiro (" + std::to_string(listId) + ")";
        return true;
    }
};

struct Cancel final : SearchCancel {
    bool cancelRequested() override { return at > 0 && ++polls >= at; }
    int polls = 0;
    int at = 0;
};

const std::set<int32_t> ids { 64 << 16 | 1, 64 << 16 | 2, 64 << 16 | 3, 64 << 16 | 5, 16 << 16 | 1, 2 << 16 | 7 };

std::string folder()
{
    std::filesystem::path dir = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    dir /= "qel_search_fuzz_" + std::to_string(std::random_device {}());
    std::filesystem::create_directories(dir);
    return dir.string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::installReturningHooks();
    static const std::string dir = folder();
    static KeywordFiles* files = [] {
        KeywordWriter writer;
        const char* texts[] = { "S\xE3o Paulo, rio Janeiro", "Bras\xEDlia capital do Brasil", "rio-de-janeiro _x_ all",
            "\xC1gua abacate brasa", "(par\xEAnteses) a*b", "Rio Negro 1960" };
        int i = 0;
        for (int32_t id : ids)
            writer.addRichText(id, texts[i++ % 6]);
        std::string error;
        if (!writer.write(dir + "/KeyWord.idx", dir + "/KeyWord.dat", error))
            std::abort();
        return new KeywordFiles(qelOpenIndex(qelValue((dir + "/KeyWord.idx").c_str()), 0, 0),
            qelOpenArchive(qelValue((dir + "/KeyWord.dat").c_str()), 0));
    }();
    if (size == 0)
        return 0;
    Names names;
    Texts texts;
    Cancel cancel;
    cancel.at = data[0] & 0x0F;
    SearchEngine engine(*files, names, texts, cancel);
    int32_t mask = (data[0] & 0x10) ? 64 : (data[0] & 0x20) ? 18 : 255;
    bool phrase = false;
    std::string query(reinterpret_cast<const char*>(data + 1), size - 1);
    for (int32_t id : engine.search(query, mask, phrase))
        if (!ids.count(id))
            std::abort();
    return 0;
}
