// The content databases through DBLists: opening the disk (and failing to, file by file), the
// lookups of each kind and which file each reads, the current name list, and lookups that see
// the disk as it is at the moment they run.

#include "app/shell/DBLists.h"

#include "../../framework/runtime/ErrorRecorder.h"
#include "ShellDisk.h"
#include "framework/runtime/Error.h"
#include "framework/runtime/FileLocator.h"
#include "platform/sys/File.h"

#include <gtest/gtest.h>

using namespace shelltest;

namespace {

class Databases : public ShellDisk {
protected:
    void TearDown() override
    {
        lists().release();
        ShellDisk::TearDown();
    }

    static DBLists& lists() { return DBLists::instance(); }

    // What the set-up does with the result of opening the databases.
    int32_t setUpOpen()
    {
        int32_t opened = openDatabaseLists();
        if (!opened)
            qelError(DBLists::databaseOpenError);
        return opened;
    }

    // True while some handle of this program holds the file for itself.
    bool held(const char* name)
    {
        platform::FileOpenOptions options;
        platform::FileError error = platform::FileError::None;
        platform::File::open((media / name).string(), options, &error);
        return error == platform::FileError::SharingViolation;
    }

    std::string text(const qelValue& value) { return value.isString() ? qelCString(value) : "(not a string)"; }
};

} // namespace

TEST_F(Databases, OpensTheDiskAndAnswersEachKindFromItsOwnFiles)
{
    ErrorRecorder errors;
    ASSERT_EQ(setUpOpen(), 1);
    EXPECT_EQ(lists().isOpen(), 1);

    EXPECT_EQ(lists().recordCount(0), 3);
    EXPECT_EQ(lists().recordCount(1), 2);
    EXPECT_EQ(lists().recordCount(4), 4);
    for (int32_t kind : { 2, 3, 5, -1 })
        EXPECT_EQ(lists().recordCount(kind), 0) << kind;

    // Records by 0-based item; Midias from the archive kept open.
    EXPECT_EQ(text(qelGet(lists().record(0, 1), "Arquivo")), "Midias");
    EXPECT_EQ(qelIntValue(qelGet(lists().record(2, 0), "Item")), 2);
    EXPECT_EQ(text(qelGet(lists().record(3, 4), "Arquivo")), "Atlas");
    EXPECT_TRUE(held("Midias.DAT"));
    EXPECT_FALSE(held("Verbetes.DAT"));

    // Name lists, with none current: each kind's file, opened for the one call. An int key and
    // the string of its digits are the same key.
    struct NameCase {
        int32_t kind;
        const char* expected;
    };
    for (const NameCase& c : { NameCase { 0, "VDBNList: Amazonas" }, NameCase { 1, "MDBName: Foto do rio" },
             NameCase { 4, "ATNamLst: Brasil" }, NameCase { 5, "GNRNList: Geral" } }) {
        EXPECT_EQ(text(lists().nameListGet(c.kind, qelMakeInt(7))), c.expected) << c.kind;
        EXPECT_EQ(text(lists().nameListGet(c.kind, "7")), c.expected) << c.kind;
        EXPECT_TRUE(lists().nameListGet(c.kind, qelMakeInt(8)).isNil()) << c.kind;
    }
    EXPECT_TRUE(lists().nameListGet(2, qelMakeInt(7)).isNil());
    EXPECT_FALSE(held("ATNamLst.IDX"));

    // Id lists by kind; kinds 1 and 2 read different files.
    EXPECT_EQ(lists().idListGet(0, "Amazonas"), 101);
    EXPECT_EQ(lists().idListGet(1, "Amazonas"), 102);
    EXPECT_EQ(lists().idListGet(2, "Amazonas"), 103);
    EXPECT_EQ(lists().idListGet(4, "Amazonas"), 104);
    EXPECT_EQ(lists().idListGet(0, "Xingu"), -1);
    EXPECT_EQ(lists().idListGet(5, "Amazonas"), -1);

    // Record ids through the registered index keys; MDB_FNAME is the file "MDBNList.IDX".
    EXPECT_EQ(lists().idOfName("VDB_LISTID", qelMakeInt(7)), 2);
    EXPECT_EQ(lists().idOfName("VDB_LISTID", qelMakeInt(8)), -1);
    EXPECT_EQ(lists().idOfName("MDB_LISTID", "7"), 1);
    EXPECT_EQ(lists().idOfName("MDB_FNAME", "rio.jpg"), 1);
    EXPECT_EQ(lists().idOfName("DBL_IDLIST", "Amazonas"), 104);
    EXPECT_EQ(lists().idOfName("NO_SUCH_KEY", "Amazonas"), -1);

    // Nothing but Midias stays open.
    for (const char* name : contentFiles)
        EXPECT_EQ(held(name), std::string(name) == "Midias.DAT") << name;
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(Databases, ASecondOpenTouchesNoFile)
{
    ASSERT_EQ(lists().open(), 1);
    fs::remove(media / "Verbetes.DAT");
    fs::remove(media / "GNRNList.IDX");
    EXPECT_EQ(lists().open(), 1);
    EXPECT_EQ(lists().recordCount(0), 3);
}

TEST_F(Databases, TheCurrentNameListAnswersForEveryKindAndHoldsItsFile)
{
    ErrorRecorder errors;
    ASSERT_EQ(lists().open(), 1);

    // The word search loads the general names and then reads them as kind 0.
    lists().loadNameList(5);
    EXPECT_EQ(text(lists().nameListGet(0, qelMakeInt(7))), "GNRNList: Geral");
    EXPECT_EQ(text(lists().nameListGet(4, qelMakeInt(7))), "GNRNList: Geral");
    EXPECT_TRUE(held("GNRNList.IDX"));
    // Its own key answers the list already open rather than a refused second open.
    EXPECT_EQ(qelCount(lists().index("GDB_NAMELIST")), 2);
    EXPECT_TRUE(held("GNRNList.IDX"));

    // Loading another releases it; a kind without a name list leaves none current.
    lists().loadNameList(0);
    EXPECT_FALSE(held("GNRNList.IDX"));
    EXPECT_TRUE(held("VDBNList.IDX"));
    EXPECT_EQ(text(lists().nameListGet(5, qelMakeInt(7))), "VDBNList: Amazonas");
    lists().loadNameList(2);
    EXPECT_FALSE(held("VDBNList.IDX"));
    EXPECT_EQ(text(lists().nameListGet(5, qelMakeInt(7))), "GNRNList: Geral");
    EXPECT_TRUE(errors.messages.empty());
}

TEST_F(Databases, EachMissingFileFailsTheOpenWithTheSetUpsMessageAndARetrySucceedsOnceItIsBack)
{
    for (const char* name : contentFiles) {
        SCOPED_TRACE(name);
        fs::path file = media / name;
        fs::path away = root / name;
        fs::rename(file, away);
        {
            ErrorRecorder errors;
            EXPECT_EQ(setUpOpen(), 0);
            // Only the set-up's message: no report of the missing file ends the program first.
            EXPECT_EQ(errors.messages, std::vector<std::string> { "Erro ao abrir o Banco de dados!" });
        }
        // Nothing is left half open: no archive kept, no index key registered.
        EXPECT_EQ(lists().isOpen(), 0);
        EXPECT_FALSE(held("Midias.DAT"));
        EXPECT_EQ(lists().recordCount(1), 0);
        EXPECT_TRUE(lists().index("GDB_NAMELIST").isNil());
        EXPECT_EQ(lists().idOfName("VDB_LISTID", qelMakeInt(7)), -1);

        fs::rename(away, file);
        ErrorRecorder errors;
        EXPECT_EQ(setUpOpen(), 1);
        EXPECT_EQ(lists().recordCount(1), 2);
        EXPECT_EQ(lists().idOfName("DBL_IDLIST", "Amazonas"), 104);
        EXPECT_TRUE(errors.messages.empty());
        lists().release();
    }
}

TEST_F(Databases, AFileThatIsNotWhatItsNameSaysFailsTheOpenAfterTheFrameworksReport)
{
    struct Case {
        const char* file;
        const char* report;
    };
    for (const Case& c : { Case { "VDBName.IDX", "Cannot open index" },
             Case { "Atlas.DAT", "Version mismatch -- cannot open archive" } }) {
        SCOPED_TRACE(c.file);
        Bytes original = fileBytes(media / c.file);
        writeBytes(media / c.file, Bytes(600, 0x5A));
        {
            ErrorRecorder errors;
            EXPECT_EQ(setUpOpen(), 0);
            EXPECT_EQ(errors.messages, (std::vector<std::string> { c.report, "Erro ao abrir o Banco de dados!" }));
        }
        EXPECT_FALSE(held("Midias.DAT"));
        writeBytes(media / c.file, original);
        EXPECT_EQ(lists().open(), 1);
        lists().release();
    }
}

TEST_F(Databases, EveryLookupReadsTheFileAsItIsNow)
{
    ASSERT_EQ(lists().open(), 1);
    EXPECT_EQ(text(lists().nameListGet(0, qelMakeInt(7))), "VDBNList: Amazonas");

    // The file is located and opened again at every lookup, so a new copy is seen at once.
    fs::remove(media / "VDBNList.IDX");
    writeIndex(media / "VDBNList.IDX", { { qelMakeInt(7), "VDBNList: Amazonas (revisto)" } });
    EXPECT_EQ(text(lists().nameListGet(0, qelMakeInt(7))), "VDBNList: Amazonas (revisto)");

    // A file gone after the open answers like an absent key, without a report.
    ErrorRecorder errors;
    fs::remove(media / "MDBNList.IDX");
    EXPECT_EQ(lists().idOfName("MDB_FNAME", "rio.jpg"), -1);
    fs::remove(media / "Verbetes.DAT");
    EXPECT_TRUE(lists().record(0, 0).isNil());
    EXPECT_TRUE(errors.messages.empty());
}
