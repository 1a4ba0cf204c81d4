#pragma once

// DBLists: the one object through which every screen reaches the content databases: three record
// archives ("Verbetes", "Midias", "Atlas", extension "DAT") and thirteen keyed index files
// (".IDX"), all found through the media file locator.
//
// Database kinds, as the accessors take them:
//   kind  content                 archive    name-list key    id-list key
//   0     encyclopaedic entries   Verbetes   VDB_NAMELIST     VDB_IDLIST
//   1     media library           Midias     MDB_NAMELIST     MDB_IDLIST
//   2     media, second id list   -          -                MDB_IDLIST2
//   4     atlas                   Atlas      DBL_NAMELIST     DBL_IDLIST
//   5     general names           -          GDB_NAMELIST     -
//
// Opening checks that every archive and index is there and opens, takes the item counts of
// Verbetes and Atlas, keeps Midias open, and records for each index key the file name (not a
// path: the file is located again at every use). Only Midias and the current name list stay
// open; every other lookup opens its file and closes it before it returns, so each sees the file
// as it is on the disk at that moment. An index file is held exclusively while it is open.
//
// A failed open leaves the object closed as it was before (nothing kept open, no index key
// registered), so a later open starts clean. A content file that is missing makes the open
// answer 0 without a report of its own; the set-up then reports databaseOpenError.

#include "framework/runtime/Value.h"

#include <cstdint>

class DBLists {
public:
    // What the set-up reports when openDatabaseLists answers 0.
    static constexpr const char* databaseOpenError = "Erro ao abrir o Banco de dados!";

    static DBLists& instance();

    // 1 once every archive and index opened (at once when already open), else 0.
    int32_t open();
    // Registers the index file fileName under key when it opens as an index; 1 then, else 0.
    int32_t openIndex(const qelValue& fileName, const qelValue& key);
    // The index registered under key, opened afresh (read-only); nil when it does not open. The
    // caller owns it: releasing the value closes the file. The current name list's key answers
    // the current name list itself, since its file is held already.
    qelValue index(const qelValue& key);

    // Makes the name list of the kind the current name list (none for a kind without one).
    void loadNameList(int32_t kind);
    // No current name list any more (its file is let go).
    void clearNameList();
    // The value under key in the current name list, whatever kind it was loaded for; with none
    // current, in the kind's name list opened for this call. Nil when absent.
    qelValue nameListGet(int32_t kind, const qelValue& key);
    // The value under key in the kind's own name list: the current name list when it was loaded
    // for that kind, else the kind's file opened for this call. Nil when absent. (The list
    // controls use it: two of different kinds on one screen each keep their own names.)
    qelValue kindNameListGet(int32_t kind, const qelValue& key);
    // The value under key in the index registered as indexKey, as an int; -1 when absent.
    int32_t idOfName(const qelValue& indexKey, const qelValue& key);
    // The value under key in the kind's id list (kinds 0, 1, 2, 4), as an int; -1 when absent.
    int32_t idListGet(int32_t kind, const qelValue& key);
    // Kind 0 the Verbetes count, 1 the kept Midias archive's count, 4 the Atlas count, else 0.
    int32_t recordCount(int32_t kind);
    // Item id (0-based) of the kind's archive (kinds 0, 1, 4); nil when the archive does not open.
    qelValue record(int32_t id, int32_t kind);

    int32_t isOpen() const { return m_opened; }
    // Releases everything the object holds and closes it; the program's exit calls it while the
    // framework still stands, and open may follow.
    void release();

private:
    DBLists() = default;

    bool openAll();
    qelValue openIndexFile(const qelValue& fileName);

    qelValue m_midias;
    qelValue m_indexFiles;
    qelValue m_currentNameList;
    // The index key the current name list was opened under.
    qelValue m_currentNameListKey;
    int32_t m_opened { 0 };
    int32_t m_verbetesCount { 0 };
    int32_t m_atlasCount { 0 };
};

// DBLists::open on the instance; the set-up calls it once and reports databaseOpenError on 0.
int32_t openDatabaseLists();
