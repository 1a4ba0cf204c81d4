#include "tools/diskbuild/Data.h"

#include "app/reference/VerbeteForm.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/Collation.h"
#include "framework/runtime/List.h"
#include "framework/runtime/MakerHooks.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "framework/runtime/TextEncoding.h"
#include "framework/runtime/ValuePrinter.h"
#include "tools/diskbuild/Curio.h"
#include "tools/diskbuild/Sources.h"
#include "tools/diskbuild/Retro.h"
#include "tools/diskbuild/Timeline.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <vector>

namespace {

// The search's section bits of the general name list.
constexpr int32_t entriesSection = 64;
constexpr int32_t mediaSection = 16;
constexpr int32_t atlasSection = 2;
// The media kind of flags.
constexpr int32_t flagKind = 2;
// Media kinds run from 0 to 10; the media category list has one item more (item 0, all).
constexpr int32_t mediaKinds = 11;

std::string text(const qelValue& table, const char* key, const std::string& where)
{
    qelValue value = field(table, key);
    if (!value.isString())
        throw Failure { where + ": \"" + key + "\" must be a string" };
    return qelCString(value);
}

int32_t number(const qelValue& table, const char* key, const std::string& where)
{
    qelValue value = field(table, key);
    if (value.type() != QEL_INT_TYPE)
        throw Failure { where + ": \"" + key + "\" must be an integer" };
    return value.payload();
}

qelValue items(const qelValue& table, const char* key, const std::string& where)
{
    qelValue value = field(table, key);
    if (!qelListObjectOf(value))
        throw Failure { where + ": \"" + key + "\" must be a list" };
    return value;
}

std::string lower(const std::string& cp1252)
{
    return qelCString(qelLowerCase(qelValue(cp1252.c_str())));
}

qelValue intList(const std::vector<int32_t>& numbers)
{
    qelValue value = qelMakeList(int32_t(numbers.size()) + 1, 100, QEL_INT_LIST);
    for (int32_t n : numbers)
        qelListObjectOf(value)->append(qelValue(n));
    return value;
}

// A category list file: item 0 lists every id, item n the ids of category n (empty where a
// category has none).
void writeCategoryLists(const std::string& path, const std::vector<int32_t>& all,
    std::map<int32_t, std::vector<int32_t>>& categories, int32_t lastCategory)
{
    std::vector<qelValue> lists { intList(all) };
    for (int32_t n = 1; n <= lastCategory; ++n)
        lists.push_back(intList(categories[n]));
    writeArchive(path, lists);
}

// The pairs of one index file, written as a table in text notation for qelidx; a key given
// twice must name the same value (two spellings of one name collapse to one key).
class IndexSource {
public:
    void put(const qelValue& key, const qelValue& value, const std::string& where)
    {
        std::string printedKey = qelCString(qelPrintValue(key, 1));
        std::string printedValue = qelCString(qelPrintValue(value, 1));
        auto [slot, added] = m_pairs.emplace(printedKey, printedValue);
        if (!added && slot->second != printedValue)
            throw Failure { where + ": " + qelToUtf8(printedKey) + " names two things" };
    }
    void write(const std::string& path) const
    {
        std::string out = "(table\n";
        for (const auto& [key, value] : m_pairs)
            out += "  (" + key + " " + value + ")\n";
        out += ")\n";
        writeNotationFile(path, out);
    }

private:
    std::map<std::string, std::string> m_pairs;
};

// Positions 0..n-1 in the order of the names, by the program's collation.
std::vector<size_t> nameOrder(const std::vector<std::string>& names)
{
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
        [&](size_t a, size_t b) { return qelCollateText(names[a].c_str(), names[b].c_str()) < 0; });
    return order;
}

// The media kinds whose main content (record position 7) is a picture: flags, photographs, maps.
bool showsPicture(int32_t kind)
{
    return kind == 2 || kind == 4 || kind == 8;
}

// The picture file of the media folder as the image value the media screen draws.
qelValue pictureOf(const std::string& mediaFolder, const std::string& file, const std::string& where)
{
    qelValue buffer = qelLoadFileBuffer(qelValue((mediaFolder + "/" + file).c_str()), 0);
    qelValue image = buffer.isNil() ? qelNil : qelMakers().imageCreate("dib", buffer);
    if (image.isNil())
        throw Failure { where + ": no picture " + qelToUtf8(file) + " in the media folder" };
    return image;
}

struct Media {
    int32_t id;
    std::string name;
    std::string file;
    int32_t record;
};

void buildEntries(const std::string& dataFolder, const std::string& media, const std::string& sources,
    const std::map<std::string, Media>& mediaByFile, IndexSource& general)
{
    std::string where = dataFolder + "/verbetes.tbl";
    qelValue table = readTable(where);
    qelValue entries = items(table, "Verbetes", where);
    int32_t count = qelCount(entries);
    int32_t lastCategory = 0;
    std::vector<std::string> names;
    for (int32_t i = 0; i < count; ++i)
        names.push_back(text(qelGet(entries, i), "Nome", where + " entry " + std::to_string(i + 1)));
    std::vector<size_t> order = nameOrder(names);

    // The sub-categories the main categories declare: (list main-name (list (list n name) ...)).
    std::set<int32_t> declared;
    qelValue mains = items(table, "Categorias", where);
    for (int32_t m = 0; m < qelCount(mains); ++m) {
        qelValue subs = qelGet(qelGet(mains, m), 1);
        for (int32_t k = 0; qelListObjectOf(subs) && k < qelCount(subs); ++k)
            declared.insert(qelIntValue(qelGet(qelGet(subs, k), 0)));
    }

    IndexSource listIds, nameList, idList, headings;
    std::vector<qelValue> records;
    std::map<int32_t, std::vector<int32_t>> categories;
    std::vector<int32_t> all;
    for (size_t record = 0; record < order.size(); ++record) {
        int32_t position = int32_t(order[record]);
        qelValue entry = qelGet(entries, position);
        std::string at = where + " entry " + std::to_string(position + 1);
        int32_t listId = position + 1;
        std::string heading = text(entry, "Titulo", at);
        int32_t category = number(entry, "Categoria", at);
        // Why: the category list holds one item per number up to the largest.
        if (category < 1 || category > 999)
            throw Failure { at + ": \"Categoria\" must be between 1 and 999" };
        if (!declared.count(category))
            throw Failure { at + ": the sub-category " + std::to_string(category) + " is not in \"Categorias\"" };
        lastCategory = std::max(lastCategory, category);
        qelValue pictures = field(entry, "Fotos");
        for (int32_t k = 0; qelListObjectOf(pictures) && k < qelCount(pictures); ++k) {
            qelValue picture = qelGet(pictures, k);
            if (!picture.isString() || !mediaByFile.count(lower(qelCString(picture))))
                throw Failure { at + ": the picture " + qelToUtf8(picture.isString() ? qelCString(picture) : "?")
                    + " is no media file" };
        }
        records.push_back(qelListOf({ listId, heading.c_str(), names[size_t(position)].c_str(), category,
            text(entry, "Texto", at).c_str(), text(entry, "VejaTambem", at).c_str(), qelNil, qelNil,
            qelListObjectOf(pictures) ? pictures : qelNil }));
        listIds.put(listId, int32_t(record), at);
        nameList.put(listId, names[size_t(position)].c_str(), at);
        idList.put(lower(names[size_t(position)]).c_str(), listId, at);
        headings.put(heading.c_str(), int32_t(record), at);
        // The search's lists show the heading as the entry page's history does: without its note.
        general.put((entriesSection << 16) | listId,
            ("Verbetes: " + VerbeteForm::shownHeading(heading, names[size_t(position)])).c_str(), at);
        categories[category].push_back(listId);
        all.push_back(listId);
    }
    writeArchive(media + "/Verbetes.DAT", records);
    writeCategoryLists(media + "/IDCatLst.DTT", all, categories, lastCategory);
    listIds.write(sources + "/VDBLstID.tbl");
    nameList.write(sources + "/VDBNList.tbl");
    idList.write(sources + "/VDBIDLst.tbl");
    headings.write(sources + "/VDBName.tbl");
}

std::map<std::string, Media> buildMedia(const std::string& dataFolder, const std::string& media,
    const std::string& sources, IndexSource& general)
{
    // The items of midias.tbl and of each midias-<part>.tbl, one list; `wheres` says where each
    // one is written.
    std::vector<qelValue> mediaItems;
    std::vector<std::string> wheres;
    for (const std::string& where : tableFamily(dataFolder, "midias")) {
        qelValue fileItems = items(readTable(where), "Midias", where);
        for (int32_t i = 0; i < qelCount(fileItems); ++i) {
            mediaItems.push_back(qelGet(fileItems, i));
            wheres.push_back(where + " item " + std::to_string(i + 1));
        }
    }
    if (mediaItems.empty())
        throw Failure { dataFolder + "/midias.tbl: no media" };
    std::vector<std::string> names;
    for (size_t i = 0; i < mediaItems.size(); ++i)
        names.push_back(text(mediaItems[i], "Nome", wheres[i]));
    std::vector<size_t> order = nameOrder(names);

    IndexSource listIds, nameList, idList, idList2, files, fileNames;
    std::vector<qelValue> records;
    std::vector<std::vector<int32_t>> kinds(mediaKinds + 1);
    std::map<std::string, Media> byFile;
    for (size_t record = 0; record < order.size(); ++record) {
        int32_t position = int32_t(order[record]);
        qelValue item = mediaItems[size_t(position)];
        const std::string& at = wheres[size_t(position)];
        int32_t id = position + 1;
        int32_t kind = number(item, "Tipo", at);
        if (kind < 0 || kind >= mediaKinds)
            throw Failure { at + ": \"Tipo\" must be a kind from 0 to 10" };
        std::string name = names[size_t(position)];
        std::string file = text(item, "Arquivo", at);
        qelValue body = field(item, "Texto");
        qelValue content = body.isString() ? body : qelNil;
        if (showsPicture(kind))
            content = pictureOf(media, file, at);
        // A movie's still, shown in its frame before it plays.
        qelValue still = field(item, "Quadro");
        if ((kind == 0 || kind == 10) && still.isString())
            content = pictureOf(media, qelCString(still), at);
        // A flag's picture is also its item 6, where the atlas takes the flag it shows.
        qelValue thumbnail = kind == flagKind ? content : qelNil;
        // The chronology's title and the table's header, both rich text, when given.
        qelValue title = field(item, "Titulo");
        qelValue header = field(item, "Cabecalho");
        records.push_back(qelListOf({ id, name.c_str(), title.isString() ? title : qelNil, kind,
            text(item, "Legenda", at).c_str(), file.empty() ? qelNil : qelValue(file.c_str()), thumbnail, content,
            qelNil, header.isString() ? header : qelNil, text(item, "Verbetes", at).c_str() }));
        listIds.put(id, int32_t(record), at);
        nameList.put(id, name.c_str(), at);
        idList.put(lower(name).c_str(), id, at);
        if (!file.empty()) {
            idList2.put(lower(file).c_str(), id, at);
            files.put(lower(file).c_str(), int32_t(record), at);
            fileNames.put(id, file.c_str(), at);
            byFile[lower(file)] = { id, name, file, int32_t(record) };
        }
        general.put((mediaSection << 16) | id, ("M\xED" "dias: " + name).c_str(), at);
        kinds[0].push_back(id);
        kinds[size_t(kind) + 1].push_back(id);
    }
    writeArchive(media + "/Midias.DAT", records);
    std::vector<qelValue> lists;
    for (const std::vector<int32_t>& ids : kinds)
        lists.push_back(intList(ids));
    writeArchive(media + "/IDMidLst.DTT", lists);
    listIds.write(sources + "/MDBLstID.tbl");
    nameList.write(sources + "/MDBName.tbl");
    idList.write(sources + "/MDBIDLst.tbl");
    idList2.write(sources + "/MDBIDLt2.tbl");
    files.write(sources + "/MDBNList.tbl");
    fileNames.write(sources + "/MDBFName.tbl");
    return byFile;
}

void buildAtlas(const std::string& dataFolder, const std::string& media, const std::string& sources,
    const std::map<std::string, Media>& mediaByFile, IndexSource& general)
{
    std::string where = dataFolder + "/atlas.tbl";
    qelValue table = readTable(where);
    qelValue places = items(table, "Atlas", where);
    IndexSource nameList, idList;
    std::vector<qelValue> records;
    std::map<int32_t, std::vector<int32_t>> categories;
    std::vector<int32_t> all;
    int32_t lastCategory = 0;
    for (int32_t id = 0; id < qelCount(places); ++id) {
        qelValue place = qelGet(places, id);
        std::string at = where + " item " + std::to_string(id + 1);
        std::string name = text(place, "Nome", at);
        int32_t category = number(place, "Categoria", at);
        // Why: the category list holds one item per number up to the largest.
        if (category < 1 || category > 999)
            throw Failure { at + ": \"Categoria\" must be between 1 and 999" };
        lastCategory = std::max(lastCategory, category);
        std::string flag = text(place, "Bandeira", at);
        std::string map = text(place, "Mapa", at);
        if (flag != "noflag" && !mediaByFile.count(lower(flag)))
            throw Failure { at + ": the flag " + qelToUtf8(flag) + " is no media file" };
        if (!mediaByFile.count(lower(map)))
            throw Failure { at + ": the map " + qelToUtf8(map) + " is no media file" };
        records.push_back(qelListOf({ id, name.c_str(), category, flag.c_str(), map.c_str(),
            text(place, "Hino", at).c_str(), text(place, "Texto", at).c_str(), text(place, "Mais", at).c_str(),
            number(place, "X", at), number(place, "Y", at) }));
        nameList.put(id, name.c_str(), at);
        idList.put(lower(name).c_str(), id, at);
        general.put((atlasSection << 16) | id, ("Atlas: " + name).c_str(), at);
        categories[category].push_back(id);
        all.push_back(id);
    }
    writeArchive(media + "/Atlas.DAT", records);
    writeCategoryLists(media + "/ATCatLst.DTT", all, categories, lastCategory);
    nameList.write(sources + "/ATNamLst.tbl");
    idList.write(sources + "/ATIDList.tbl");
}

} // namespace

bool buildData(const std::string& dataFolder, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error)
{
    try {
        IndexSource general;
        std::map<std::string, Media> mediaByFile = buildMedia(dataFolder, mediaFolder, sourcesFolder, general);
        buildEntries(dataFolder, mediaFolder, sourcesFolder, mediaByFile, general);
        buildAtlas(dataFolder, mediaFolder, sourcesFolder, mediaByFile, general);
        std::vector<std::pair<int32_t, std::string>> curiosities;
        if (!curioSearchNames(dataFolder, curiosities, error))
            return false;
        for (const auto& [id, name] : curiosities)
            general.put(qelValue(id), qelValue(name.c_str()), dataFolder + "/curio.tbl");
        std::vector<TimelineEvent> events;
        if (!readDiskTimeline(dataFolder, events, error))
            return false;
        for (const TimelineEvent& event : events)
            general.put((timelineSection << 16) | event.item, ("Linha do Tempo: " + event.line).c_str(), "ltempo.tbl");
        std::vector<RetroSearchItem> articles;
        if (!retroSearchItems(dataFolder, articles, error))
            return false;
        for (const RetroSearchItem& article : articles)
            general.put(article.id, ("Retrospectiva: " + article.title).c_str(), "retro.tbl");
        general.write(sourcesFolder + "/GNRNList.tbl");
    } catch (const Failure& failure) {
        error = failure.message;
        return false;
    }
    return true;
}
