// The almanac's content data as the build derived it from content/almanac/data: every index
// agrees with the archives it points into, the category lists hold every record of their
// category, the pictures the entries name are media records with a picture, and every link of
// an entry's text or a media item's related entries leads to something on the disk.

#include "ErrorRecorder.h"

#include "framework/display/DisplayMakers.h"
#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "recdb/index/IndexObject.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string mediaPath(const char* file)
{
    return (fs::path(QEL_BUILD_DIR) / "disk" / "Media" / file).string();
}

class AlmanacData : public ::testing::Test {
protected:
    void SetUp() override
    {
        qelInstallDisplayMakers();
        for (const char* name : { "Verbetes.DAT", "Midias.DAT", "Atlas.DAT", "IDCatLst.DTT", "IDMidLst.DTT", "ATCatLst.DTT",
                 "DBCurio.dat", "CVSbCatL.dtt" })
            archives[name] = qelOpenArchive(qelValue(mediaPath(name).c_str()), 0);
    }

    // One index for one look-up: the index layer opens each file for exclusive use.
    qelValue lookUp(const char* file, const qelValue& key)
    {
        qelValue index = qelOpenIndex(qelValue(mediaPath(file).c_str()), 0, 0);
        EXPECT_EQ(index.type(), QEL_INDEX_TYPE) << file;
        return index.type() == QEL_INDEX_TYPE ? qelGet(index, key) : qelNil;
    }

    qelValue record(const char* archive, int32_t n) { return qelGet(archives[archive], n); }
    int32_t count(const char* archive) { return qelCount(archives[archive]); }

    static bool holds(const qelValue& list, int32_t n)
    {
        for (int32_t i = 0; i < qelCount(list); ++i) {
            if (qelIntValue(qelGet(list, i)) == n)
                return true;
        }
        return false;
    }

    ErrorRecorder errors;
    std::map<std::string, qelValue> archives;
};

// The links of a text in rich text: each "!\{type:target\}" after hot text, as type and target.
std::vector<std::pair<std::string, std::string>> linksOf(const qelValue& text)
{
    std::vector<std::pair<std::string, std::string>> links;
    if (!text.isString())
        return links;
    std::string rtf = qelCString(text);
    for (size_t at = rtf.find("!\\{"); at != std::string::npos; at = rtf.find("!\\{", at + 3)) {
        size_t end = rtf.find("\\}", at + 3);
        if (end == std::string::npos)
            break;
        std::string context = rtf.substr(at + 3, end - at - 3);
        size_t colon = context.find(':');
        links.emplace_back(context.substr(0, colon), colon == std::string::npos ? "" : context.substr(colon + 1));
    }
    return links;
}

bool pageOnDisk(const std::string& page)
{
    std::string wanted = page + ".etn";
    for (const auto& entry : fs::directory_iterator(fs::path(QEL_BUILD_DIR) / "disk" / "Media")) {
        std::string name = entry.path().filename().string();
        for (char& c : name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (name == wanted)
            return true;
    }
    return false;
}

TEST_F(AlmanacData, ArchivesOpenWithRecords)
{
    for (const auto& [name, archive] : archives) {
        EXPECT_EQ(archive.type(), QEL_ARCHIVE_TYPE) << name;
        EXPECT_GT(qelCount(archive), 0) << name;
    }
    // The media category list has an item for "all" and one per media kind 0 to 10.
    EXPECT_EQ(count("IDMidLst.DTT"), 12);
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

TEST_F(AlmanacData, EntryIndexesAgreeWithTheEntryRecords)
{
    qelValue all = record("IDCatLst.DTT", 0);
    EXPECT_EQ(qelCount(all), count("Verbetes.DAT"));
    std::set<int32_t> ids;
    for (int32_t r = 0; r < count("Verbetes.DAT"); ++r) {
        qelValue entry = record("Verbetes.DAT", r);
        int32_t listId = qelIntValue(qelGet(entry, 0));
        std::string name = qelCString(qelGet(entry, 2));
        std::string heading = qelCString(qelGet(entry, 1));
        SCOPED_TRACE(name);
        EXPECT_TRUE(ids.insert(listId).second);
        EXPECT_EQ(qelIntValue(lookUp("VDBLstID.IDX", listId)), r);
        // An integer key and its decimal digits are one key.
        EXPECT_EQ(qelIntValue(lookUp("VDBLstID.IDX", std::to_string(listId).c_str())), r);
        EXPECT_EQ(lookUp("VDBNList.IDX", listId), qelValue(name.c_str()));
        EXPECT_EQ(qelIntValue(lookUp("VDBIDLst.IDX", qelLowerCase(qelValue(name.c_str())))), listId);
        // The search's lists show the heading without its note in braces.
        std::string shown = heading.substr(0, heading.find(" {"));
        EXPECT_EQ(lookUp("GNRNList.IDX", (64 << 16) | listId), qelValue(("Verbetes: " + shown).c_str()));
        EXPECT_TRUE(holds(all, listId));
        EXPECT_TRUE(holds(record("IDCatLst.DTT", qelIntValue(qelGet(entry, 3))), listId));

        // Every picture the text shows is a media record whose content is a picture.
        qelValue pictures = qelGet(entry, 8);
        for (int32_t k = 0; pictures.type() == QEL_LIST_TYPE && k < qelCount(pictures); ++k) {
            int32_t m = qelIntValue(lookUp("MDBNList.IDX", qelGet(pictures, k)));
            ASSERT_GE(m, 0) << qelCString(qelGet(pictures, k));
            EXPECT_EQ(qelGet(record("Midias.DAT", m), 7).type(), QEL_IMAGE_TYPE);
        }
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

TEST_F(AlmanacData, EveryLinkLeadsToAnEntryAMediaItemOrAPage)
{
    // An entry link names the entry page and the entry's name, which the page finds lower-cased
    // in the entries' id list; a media link names the item, found lower-cased in the media id
    // list; an infographic link names a page of the disk.
    auto follow = [&](const std::string& type, const std::string& target) {
        SCOPED_TRACE(type + ":" + target);
        qelValue lowered = qelLowerCase(qelValue(target.c_str()));
        if (type == "jump" || type == "verbete") {
            ASSERT_EQ(target.rfind("VerbeteForm;", 0), 0u);
            EXPECT_GE(qelIntValue(lookUp("VDBIDLst.IDX", qelLowerCase(qelValue(target.substr(12).c_str())))), 1);
        } else if (type == "info") {
            EXPECT_TRUE(pageOnDisk(qelCString(lowered)));
        } else if (type != "audio") {
            static const std::set<std::string> mediaTypes { "anim", "bandeira", "crono", "foto", "livro", "tabela",
                "video" };
            EXPECT_TRUE(mediaTypes.count(type));
            EXPECT_GE(qelIntValue(lookUp("MDBIDLst.IDX", lowered)), 1);
        }
    };
    for (int32_t r = 0; r < count("Verbetes.DAT"); ++r) {
        qelValue entry = record("Verbetes.DAT", r);
        SCOPED_TRACE(qelCString(qelGet(entry, 2)));
        int32_t toEntries = 0;
        for (const auto& [type, target] : linksOf(qelGet(entry, 4))) {
            follow(type, target);
            toEntries += type == "jump";
        }
        // No entry is a dead end.
        EXPECT_GT(toEntries, 0);
    }
    for (int32_t r = 0; r < count("Midias.DAT"); ++r) {
        qelValue media = record("Midias.DAT", r);
        SCOPED_TRACE(qelCString(qelGet(media, 1)));
        for (const auto& [type, target] : linksOf(qelGet(media, 10)))
            follow(type, target);
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

TEST_F(AlmanacData, CuriositiesAgreeWithTheirCategoriesTitlesAndLinks)
{
    // Record n: [n, layout kind, category, title, text]; item c of the category lists holds the
    // records of category c; the title index gives category * 65536 + n, the search's names
    // "Curiosidades: " and the title under 4 << 16 | n.
    int32_t records = count("DBCurio.dat");
    EXPECT_GE(records, 50);
    ASSERT_EQ(count("CVSbCatL.dtt"), 10);
    std::set<int32_t> kinds;
    int32_t listed = 0;
    for (int32_t c = 0; c < 10; ++c) {
        qelValue list = record("CVSbCatL.dtt", c);
        EXPECT_GT(qelCount(list), 0) << "category " << c;
        listed += qelCount(list);
        for (int32_t i = 0; i < qelCount(list); ++i) {
            int32_t n = qelIntValue(qelGet(list, i));
            qelValue curiosity = record("DBCurio.dat", n);
            SCOPED_TRACE(qelCString(qelGet(curiosity, 3)));
            EXPECT_EQ(qelIntValue(qelGet(curiosity, 0)), n);
            EXPECT_EQ(qelIntValue(qelGet(curiosity, 2)), c);
            kinds.insert(qelIntValue(qelGet(curiosity, 1)));
            EXPECT_EQ(qelIntValue(lookUp("CDBIDLST.IDX", qelGet(curiosity, 3))), c * 65536 + n);
            EXPECT_EQ(qelCString(lookUp("GNRNList.IDX", qelValue((4 << 16) | n))),
                "Curiosidades: " + std::string(qelCString(qelGet(curiosity, 3))));
            for (const auto& [type, target] : linksOf(qelGet(curiosity, 4))) {
                SCOPED_TRACE(type + ":" + target);
                if (type == "info") {
                    EXPECT_TRUE(pageOnDisk(target));
                } else {
                    ASSERT_EQ(target.rfind("VerbeteForm;", 0), 0u);
                    EXPECT_GE(qelIntValue(lookUp("VDBIDLst.IDX", qelValue(target.substr(12).c_str()))), 1);
                }
            }
        }
    }
    EXPECT_EQ(listed, records);
    EXPECT_EQ(kinds, (std::set<int32_t> { 1, 2 }));
    // The infographics of the media library open pages of the disk.
    for (int32_t r = 0; r < count("Midias.DAT"); ++r) {
        qelValue media = record("Midias.DAT", r);
        if (qelIntValue(qelGet(media, 3)) == 6)
            EXPECT_TRUE(pageOnDisk(qelCString(qelLowerCase(qelGet(media, 5))))) << qelCString(qelGet(media, 1));
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

TEST_F(AlmanacData, MediaIndexesAgreeWithTheMediaRecords)
{
    for (int32_t r = 0; r < count("Midias.DAT"); ++r) {
        qelValue media = record("Midias.DAT", r);
        int32_t id = qelIntValue(qelGet(media, 0));
        int32_t kind = qelIntValue(qelGet(media, 3));
        qelValue name = qelGet(media, 1);
        SCOPED_TRACE(qelCString(name));
        EXPECT_EQ(qelIntValue(lookUp("MDBLstID.IDX", id)), r);
        EXPECT_EQ(lookUp("MDBName.IDX", id), name);
        // The media screen finds a "foto:" link's lower-cased name through the id lists.
        EXPECT_EQ(qelIntValue(lookUp("MDBIDLst.IDX", qelLowerCase(name))), id);
        EXPECT_TRUE(holds(record("IDMidLst.DTT", kind + 1), id));
        EXPECT_TRUE(holds(record("IDMidLst.DTT", 0), id));
        if (kind == 2 || kind == 4 || kind == 8)
            EXPECT_EQ(qelGet(media, 7).type(), QEL_IMAGE_TYPE);
        // The atlas shows a flag's item 6.
        if (kind == 2)
            EXPECT_EQ(qelGet(media, 6).type(), QEL_IMAGE_TYPE);
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

TEST_F(AlmanacData, AtlasIndexesAgreeWithTheAtlasRecords)
{
    for (int32_t id = 0; id < count("Atlas.DAT"); ++id) {
        qelValue place = record("Atlas.DAT", id);
        qelValue name = qelGet(place, 1);
        SCOPED_TRACE(qelCString(name));
        EXPECT_EQ(qelIntValue(qelGet(place, 0)), id);
        EXPECT_EQ(qelIntValue(lookUp("ATIDList.IDX", qelLowerCase(name))), id);
        EXPECT_EQ(lookUp("ATNamLst.IDX", id), name);
        EXPECT_TRUE(holds(record("ATCatLst.DTT", qelIntValue(qelGet(place, 2))), id));
        EXPECT_GE(qelIntValue(lookUp("MDBNList.IDX", qelGet(place, 4))), 0) << "map";
        qelValue flag = qelGet(place, 3);
        if (!(flag == "noflag"))
            EXPECT_GE(qelIntValue(lookUp("MDBNList.IDX", flag)), 0) << "flag";
    }
    EXPECT_TRUE(errors.messages.empty()) << errors.messages.front();
}

} // namespace
