#include "tools/diskbuild/Keywords.h"

#include "app/reference/KeywordWriter.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "tools/diskbuild/Sources.h"
#include "tools/diskbuild/Retro.h"
#include "tools/diskbuild/Timeline.h"

namespace {

// The search's section bits, as the general name list packs them (Data.cpp).
constexpr int32_t entriesSection = 64;
constexpr int32_t mediaSection = 16;
constexpr int32_t atlasSection = 2;
constexpr int32_t curioSection = 4;

struct Section {
    // The family of tables (Sources.h): "midias" reads midias.tbl and every midias-<part>.tbl.
    const char* stem;
    const char* listKey;
    int32_t bit;
    // Atlas ids and curiosities' record numbers count from 0, entries' and media ids from 1.
    int32_t firstId;
    std::initializer_list<const char*> textKeys;
};

std::string stringField(const qelValue& table, const char* key)
{
    qelTableObject* object = qelTableOf(table);
    qelValue value = object ? object->get(key) : qelNil;
    return value.isString() ? std::string(qelCString(value), size_t(qelCount(value))) : std::string();
}

} // namespace

bool buildKeywords(const std::string& dataFolder, const std::string& mediaFolder, std::string& error)
{
    const Section sections[] = {
        { "verbetes", "Verbetes", entriesSection, 1, { "Titulo", "Nome", "Texto", "VejaTambem" } },
        { "midias", "Midias", mediaSection, 1, { "Nome", "Legenda", "Texto" } },
        { "atlas", "Atlas", atlasSection, 0, { "Nome", "Texto", "Mais" } },
        { "curio", "Curiosidades", curioSection, 0, { "Titulo", "Texto" } },
    };
    KeywordWriter writer;
    for (const Section& section : sections) {
        int32_t number = section.firstId;
        for (const std::string& path : tableFamily(dataFolder, section.stem)) {
            qelValue table = readNotationFile(path, error);
            if (!error.empty())
                return false;
            qelValue items = qelTableOf(table) ? qelTableOf(table)->get(section.listKey) : qelNil;
            if (!qelListObjectOf(items)) {
                error = path + ": \"" + section.listKey + "\" must be a list";
                return false;
            }
            for (int32_t i = 0; i < qelCount(items); ++i, ++number) {
                // Why: the number within a section is the low 16 bits of a packed id.
                if (number > 0xFFFF) {
                    error = path + ": more items than a section can number";
                    return false;
                }
                int32_t id = (section.bit << 16) | number;
                qelValue item = qelGet(items, i);
                for (const char* key : section.textKeys)
                    writer.addRichText(id, stringField(item, key));
            }
        }
    }
    // The timeline's events, by their lines (date and text).
    std::vector<TimelineEvent> events;
    if (!readDiskTimeline(dataFolder, events, error))
        return false;
    for (const TimelineEvent& event : events)
        writer.addText((timelineSection << 16) | event.item, event.line);
    // The review's articles, by their titles and bodies.
    std::vector<RetroSearchItem> articles;
    if (!retroSearchItems(dataFolder, articles, error))
        return false;
    for (const RetroSearchItem& article : articles) {
        writer.addText(article.id, article.title);
        writer.addRichText(article.id, article.text);
    }
    return writer.write(mediaFolder + "/KeyWord.idx", mediaFolder + "/KeyWord.dat", error);
}
