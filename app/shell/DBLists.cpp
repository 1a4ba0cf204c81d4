#include "app/shell/DBLists.h"

#include "framework/runtime/Archive.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/FileLocator.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Table.h"
#include "recdb/index/IndexObject.h"

namespace {

struct IndexFile {
    const char* fileName;
    const char* key;
};

// The index files of the entries and the media, registered in this order after the Verbetes
// archive. The crossed pairs ("MDBNList.IDX" under MDB_FNAME, "MDBName.IDX" under MDB_NAMELIST)
// are what the content's files hold.
constexpr IndexFile entryAndMediaIndexes[] = {
    { "GNRNList.IDX", "GDB_NAMELIST" },
    { "VDBLstID.IDX", "VDB_LISTID" },
    { "VDBNList.IDX", "VDB_NAMELIST" },
    { "VDBIDLst.IDX", "VDB_IDLIST" },
    { "VDBName.IDX", "VDB_NAME" },
    { "MDBLstID.IDX", "MDB_LISTID" },
    { "MDBFName.IDX", "MDB_FNAMELIST" },
    { "MDBName.IDX", "MDB_NAMELIST" },
    { "MDBNList.IDX", "MDB_FNAME" },
    { "MDBIDLst.IDX", "MDB_IDLIST" },
    { "MDBIDLt2.IDX", "MDB_IDLIST2" },
};

// The atlas's index files, registered after the Atlas archive.
constexpr IndexFile atlasIndexes[] = {
    { "ATNamLst.IDX", "DBL_NAMELIST" },
    { "ATIDList.IDX", "DBL_IDLIST" },
};

const char* nameListKey(int32_t kind)
{
    switch (kind) {
    case 0:
        return "VDB_NAMELIST";
    case 1:
        return "MDB_NAMELIST";
    case 4:
        return "DBL_NAMELIST";
    case 5:
        return "GDB_NAMELIST";
    default:
        return nullptr;
    }
}

const char* idListKey(int32_t kind)
{
    switch (kind) {
    case 0:
        return "VDB_IDLIST";
    case 1:
        return "MDB_IDLIST";
    case 2:
        return "MDB_IDLIST2";
    case 4:
        return "DBL_IDLIST";
    default:
        return nullptr;
    }
}

// A content archive opened read-only; nil when it is missing or does not open as an archive.
// A missing file is not reported here: the caller answers for it.
qelValue openContentArchive(const char* name)
{
    qelValue path = qelLocateFile(name, "DAT");
    if (!qelLocatedFileExists(path))
        return qelNil;
    qelValue archive = qelOpenArchive(path, 0);
    return archive.type() == QEL_ARCHIVE_TYPE ? archive : qelNil;
}

int32_t intOrAbsent(const qelValue& value)
{
    return value.isNil() ? -1 : qelIntValue(value);
}

} // namespace

DBLists& DBLists::instance()
{
    // Never destroyed: the values it holds are index files of the record layer, whose page
    // cache is a static object of its own and may be gone by the time static objects are
    // destroyed at exit. The program's exit releases it (release) while the framework stands;
    // a run that ends otherwise leaves the files to the system.
    static DBLists* lists = new DBLists;
    return *lists;
}

int32_t openDatabaseLists()
{
    return DBLists::instance().open();
}

int32_t DBLists::open()
{
    if (m_opened)
        return 1;
    m_indexFiles = qelTable(4, 100, 75);
    if (!openAll()) {
        release();
        return 0;
    }
    m_opened = 1;
    return 1;
}

bool DBLists::openAll()
{
    qelValue verbetes = openContentArchive("Verbetes");
    if (verbetes.isNil())
        return false;
    m_verbetesCount = qelCount(verbetes);
    verbetes = qelNil;

    for (const IndexFile& file : entryAndMediaIndexes) {
        if (!openIndex(file.fileName, file.key))
            return false;
    }

    m_midias = openContentArchive("Midias");
    if (m_midias.isNil())
        return false;

    qelValue atlas = openContentArchive("Atlas");
    if (atlas.isNil())
        return false;
    m_atlasCount = qelCount(atlas);
    atlas = qelNil;

    for (const IndexFile& file : atlasIndexes) {
        if (!openIndex(file.fileName, file.key))
            return false;
    }
    return true;
}

void DBLists::release()
{
    m_currentNameList = qelNil;
    m_currentNameListKey = qelNil;
    m_midias = qelNil;
    m_indexFiles = qelNil;
    m_opened = 0;
    m_verbetesCount = 0;
    m_atlasCount = 0;
}

qelValue DBLists::openIndexFile(const qelValue& fileName)
{
    if (!fileName.isString())
        return qelNil;
    qelValue path = qelLocateFile(fileName, qelNil);
    // A missing file is answered here rather than by the index layer, whose report ends the
    // program before the set-up can say which part of the disk is wrong.
    if (!qelLocatedFileExists(path))
        return qelNil;
    qelValue index = qelOpenIndex(path, 0, 0);
    // When the index layer's report of a file it could not open returns, the object is there
    // but has no file behind it.
    qelIndexObject* object = qelIndexObjectOf(index);
    if (!object || object->handle().state != 'O')
        return qelNil;
    return index;
}

int32_t DBLists::openIndex(const qelValue& fileName, const qelValue& key)
{
    qelValue index = openIndexFile(fileName);
    if (index.isNil())
        return 0;
    // Only the name is kept; the file closes here.
    index = qelNil;
    if (m_indexFiles.type() != QEL_TABLE_TYPE)
        m_indexFiles = qelTable(4, 100, 75);
    qelPut(m_indexFiles, key, fileName);
    return 1;
}

qelValue DBLists::index(const qelValue& key)
{
    if (m_indexFiles.type() != QEL_TABLE_TYPE)
        return qelNil;
    // The current name list holds its file exclusively, so a second open of it would be refused.
    if (!m_currentNameList.isNil() && m_currentNameListKey == key)
        return m_currentNameList;
    return openIndexFile(qelGet(m_indexFiles, key));
}

void DBLists::loadNameList(int32_t kind)
{
    clearNameList();
    const char* key = nameListKey(kind);
    if (!key)
        return;
    qelValue list = index(key);
    if (list.type() != QEL_INDEX_TYPE)
        return;
    m_currentNameList = list;
    m_currentNameListKey = qelStringValue(key);
}

void DBLists::clearNameList()
{
    m_currentNameList = qelNil;
    m_currentNameListKey = qelNil;
}

qelValue DBLists::nameListGet(int32_t kind, const qelValue& key)
{
    if (!m_currentNameList.isNil())
        return qelGet(m_currentNameList, key);
    const char* listKey = nameListKey(kind);
    if (!listKey)
        return qelNil;
    qelValue list = index(listKey);
    return list.isNil() ? qelNil : qelGet(list, key);
}

qelValue DBLists::kindNameListGet(int32_t kind, const qelValue& key)
{
    const char* listKey = nameListKey(kind);
    if (!listKey)
        return qelNil;
    // index answers the current name list itself when it is this kind's.
    qelValue list = index(listKey);
    return list.isNil() ? qelNil : qelGet(list, key);
}

int32_t DBLists::idOfName(const qelValue& indexKey, const qelValue& key)
{
    qelValue list = index(indexKey);
    return list.isNil() ? -1 : intOrAbsent(qelGet(list, key));
}

int32_t DBLists::idListGet(int32_t kind, const qelValue& key)
{
    const char* listKey = idListKey(kind);
    return listKey ? idOfName(listKey, key) : -1;
}

int32_t DBLists::recordCount(int32_t kind)
{
    switch (kind) {
    case 0:
        return m_verbetesCount;
    case 1:
        return m_midias.isNil() ? 0 : qelCount(m_midias);
    case 4:
        return m_atlasCount;
    default:
        return 0;
    }
}

qelValue DBLists::record(int32_t id, int32_t kind)
{
    switch (kind) {
    case 0:
    case 4: {
        qelValue archive = openContentArchive(kind == 0 ? "Verbetes" : "Atlas");
        return archive.isNil() ? qelNil : qelGet(archive, id);
    }
    case 1:
        return m_midias.isNil() ? qelNil : qelGet(m_midias, id);
    default:
        return qelNil;
    }
}
