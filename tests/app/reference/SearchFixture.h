#pragma once

// A small almanac for the search's tests: a dozen items of three sections with their names and
// texts, compiled into real keyword files by the keyword writer, with the names, entry texts and
// a scripted cancel poll the engine asks for. Items are named by labels ("E4" the entry with list
// id 4, "M1" media 1, "A1" atlas item 1).

#include "app/reference/KeywordFiles.h"
#include "app/reference/KeywordWriter.h"
#include "app/reference/SearchEngine.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/List.h"
#include "recdb/index/IndexObject.h"
#include "tests/recdb/RecDbTestSupport.h"

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace searchtest {

struct Item {
    const char* label;
    int32_t id;
    const char* name; // the row text; null: no name
    const char* heading;
    const char* text;
    bool entryRecord; // the phrase filter finds its record
};

constexpr int32_t E = 64 << 16;
constexpr int32_t M = 16 << 16;
constexpr int32_t A = 2 << 16;

// Texts in cp1252.
inline const std::vector<Item>& items()
{
    static const std::vector<Item> all {
        { "E1", E | 1, "Verbetes: Brasil", "Brasil", "Pa\xEDs da Am\xE9rica do Sul.", true },
        { "E2", E | 2, "Verbetes: Bras\xEDlia", "Bras\xEDlia", "Capital federal desde 1960.", true },
        { "E3", E | 3, "Verbetes: S\xE3o Paulo", "S\xE3o Paulo", "Maior cidade.", true },
        { "E4", E | 4, "Verbetes: Rio de Janeiro", "Rio de Janeiro",
            "{\\b Cidade} maravilhosa, antiga capital. O nome vem de Rio Janeiro.", true },
        { "E5", E | 5, "Verbetes: Rio", "Rio", "Curso de \xE1gua.", true },
        { "E6", E | 6, "Verbetes: Rio Negro", "Rio Negro", "Afluente do Amazonas.", true },
        { "E7", E | 7, "Verbetes: \xC1gua", "\xC1gua", "Subst\xE2ncia essencial.", true },
        { "E8", E | 8, "Verbetes: Abacate", "Abacate", "Fruta verde.", true },
        { "E9", E | 9, "Verbetes: Janeiro", "Janeiro", "Primeiro m\xEAs; o rio enche em janeiro.", true },
        { "E10", E | 10, "Verbetes: Paulo Freire", "Paulo Freire", "Educador brasileiro.", true },
        // Indexed, but with neither a name nor an entry record.
        { "E11", E | 11, nullptr, "Rio Janeiro", "", false },
        { "M1", M | 1, "M\xEDdias: Praia no Rio de Janeiro", "Praia no Rio de Janeiro", "Foto da praia.", false },
        { "A1", A | 1, "Atlas: Brasil", "Brasil", "Capital: Bras\xEDlia.", false },
    };
    return all;
}

inline std::string labelOf(int32_t id)
{
    for (const Item& item : items())
        if (item.id == id)
            return item.label;
    return "?" + std::to_string(id);
}

inline std::string labels(const std::vector<int32_t>& ids)
{
    std::string out;
    for (int32_t id : ids)
        out += (out.empty() ? "" : " ") + labelOf(id);
    return out;
}

class Names final : public SearchNames {
public:
    std::string nameOf(int32_t id) override
    {
        for (const Item& item : items())
            if (item.id == id && item.name)
                return item.name;
        return "";
    }
};

class Entries final : public SearchEntryTexts {
public:
    bool entryTexts(int32_t listId, std::string& heading, std::string& text) override
    {
        ++reads;
        for (const Item& item : items())
            if ((item.id >> 16) == 64 && (item.id & 0xFFFF) == listId && item.entryRecord) {
                heading = item.heading;
                text = item.text;
                return true;
            }
        return false;
    }
    int reads = 0;
};

// Answers 1 from its Nth call on (0: never), as a key waiting in the queue does.
class ScriptedCancel final : public SearchCancel {
public:
    bool cancelRequested() override { return ++polls >= cancelAt && cancelAt > 0; }
    int polls = 0;
    int cancelAt = 0;
};

// The keyword files of the items, written to a scratch folder and opened read-only.
struct KeywordDisk {
    KeywordDisk()
    {
        KeywordWriter writer;
        for (const Item& item : items())
            writer.addRichText(item.id, std::string(item.heading) + " " + item.text);
        std::string error;
        written = writer.write(indexPath(), archivePath(), error);
        message = error;
    }
    std::string indexPath() const { return dir.path("KeyWord.idx"); }
    std::string archivePath() const { return dir.path("KeyWord.dat"); }
    KeywordFiles open() const
    {
        return KeywordFiles(qelOpenIndex(qelValue(indexPath().c_str()), 0, 0),
            qelOpenArchive(qelValue(archivePath().c_str()), 0));
    }

    recdbtest::ScratchDir dir;
    bool written = false;
    std::string message;
};

} // namespace searchtest
