#pragma once

// Checking, repairing, salvaging and copying record files.
//
// Verification walks every tree level by level and the free-page list, and stops at the first
// damage it meets; the handle's verify slots then hold the page (-1 for the header) and one of
// the codes below. It only reads: it never changes the file or its change counter.
//
//   code   found
//   -201   a tree's path from its root breaks off
//   -202   a free-byte count outside 0..1006, or one that disagrees with the entries
//   -203   an entry count above 143, entries overrunning the page, or bytes after them not zero
//   -204   a page whose right link (not -1) equals its left link
//   -205   a right link below -1 or past the pages, a left link that does not name the page
//          before it on its level, or a walk along a level longer than the file has pages
//   -206   a left link below -1, or a level whose pages do not match the children above it
//   -207   an entry shorter than its key
//   -208   a branch entry whose child page is negative or not below the page count
//   -209   a child whose level is not one below its parent's
//   -210   an entry whose index number is outside 1..20 or whose length is below 6, or a branch
//          entry that does not bound its children's entries
//   -211   a page read failed
//   -212   a page on the free-page list that does not look free, or a list that loops
//   -213   header values out of range
//   -214   entries out of order, or a broken piece chain

#include "recdb/RecDb.h"

#include <cstdint>

// Damage codes left in the verify slot (see above).
enum : int32_t {
    RDB_DAMAGE_PATH = -201,
    RDB_DAMAGE_FREE_BYTES = -202,
    RDB_DAMAGE_ENTRY_AREA = -203,
    RDB_DAMAGE_SELF_LINK = -204,
    RDB_DAMAGE_RIGHT_LINK = -205,
    RDB_DAMAGE_LEFT_LINK = -206,
    RDB_DAMAGE_SHORT_ENTRY = -207,
    RDB_DAMAGE_CHILD_PAGE = -208,
    RDB_DAMAGE_CHILD_LEVEL = -209,
    RDB_DAMAGE_ENTRY = -210,
    RDB_DAMAGE_READ = -211,
    RDB_DAMAGE_FREE_LIST = -212,
    RDB_DAMAGE_HEADER = -213,
    RDB_DAMAGE_ORDER = -214,
};

// Called with the handle and a running counter: per page visited (verification and copy), per
// tree walked (repair).
using rdbProgressFunction = void (*)(rdbHandle* handle, int32_t counter);

// 0 when the file is sound; -1 when damage was found (see the verify slots); or the status of a
// failed read bracket.
int32_t rdbVerify(rdbHandle* handle);
int32_t rdbVerifyWithProgress(rdbHandle* handle, rdbProgressFunction progress);

// Repairs the source in place by removing the entries that break the order or a piece chain
// (whole records when a record was in progress); the removed entries go into a new target file
// when a target name is given. With no table, indexes 1..15 take the source's key types.
// 0 when nothing was wrong, -13 when entries were removed, or the first error met.
int32_t rdbRebuild(const char* source, const char* target, const rdbIndexDef* table, rdbProgressFunction progress);
// rdbRebuild with both names required (-2 otherwise), no table and no progress function.
int32_t rdbRebuildFiles(const char* source, const char* target);

// Makes a new target file from the leaf pages of the source, which is only read. Entries of
// index 16 are left out. The result is the first error met.
int32_t rdbSalvage(const char* source, const char* target, const rdbIndexDef* table);

// Adds the leaf entries of the source file to the open file, whose write mode becomes 0, reading
// the source in the byte order given (1 little-endian, 2 big-endian, 3 this machine's; else -32).
// The handle is closed at the end.
int32_t rdbCopyInto(const char* source, rdbHandle* handle, int32_t byteOrder, rdbProgressFunction progress);
int32_t rdbCopyIntoFile(const char* source, rdbHandle* handle, int32_t byteOrder);

// Frees every page of tree 1..20 and gives its indexes back to tree 0; its entries are lost.
int32_t rdbDropTree(rdbHandle* handle, int32_t tree);
// Moves an empty index to tree 1..20, giving that tree an empty root leaf when it has none.
int32_t rdbSetIndexTree(rdbHandle* handle, int32_t index, int32_t tree);
