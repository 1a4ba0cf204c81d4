#pragma once

// The record file format.
//
// A record file is one header block of 1024 bytes followed by pages of 1024 bytes; page n
// starts at byte 1024 + 1024 * n. Every index of the file lives in a B-tree whose leaf entries
// carry the index number, the key, a record number and one piece of the record's data, so one
// tree holds several indexes side by side, in index-number order.
//
// Byte order. The word at offset 8 holds 1 in the file's byte order (01 00 00 00 for a
// little-endian file, 00 00 00 01 for a big-endian one). A reader of the other order turns
// every field marked "swapped" below, the page heads, the record numbers, branch child numbers
// and numeric keys; nothing else.
//
// Header block (the first 352 bytes are the header; words are 32-bit):
//
//   offset  width      at creation     meaning
//   0       u32        1               change counter, +1 per outermost update (0 skipped); swapped
//   4       u32        86 'V'          signature; swapped
//   8       u32        1 in file order byte-order word; never swapped
//   12      u32        0               root page of tree 0; swapped
//   16      u32        65 'A'          signature; swapped
//   20      u32        76 'L'          signature; swapped
//   24      u32        73 'I'          signature; swapped
//   28      u32        1               height of tree 0 (a lone leaf root has height 1); swapped
//   32      u32        68 'D'          signature; swapped
//   36      u32        1               page count: pages in use or free; the next new page; swapped
//   40      u32        65 'A'          signature; swapped
//   44      u32        1               next record number handed out; swapped
//   48      u32        84 'T'          signature; swapped
//   52      u32        3               extent: pages present in the file (zero pages appended
//                                      ahead of need); never below the page count; swapped
//   56      u32        49 '1'          signature and format version; swapped
//   60      u32        -1              head of the free-page list, -1 when empty; swapped
//   64      u32        0               freed record numbers waiting for reuse; swapped
//   68      u32        0               user word; swapped
//   72      u32        0               user-area length, 0 to 100; swapped
//   76      16 bytes   0               reserved
//   92      100 bytes  0               user area; bytes past its length are written as zero
//   192     22 bytes   0, byte 212 = 2 key type of index i at 192 + i (i = 1..20)
//   214     6 bytes    0               reserved
//   220     22 bytes   0               tree of index i at 219 + i (0 = tree 0, t = tree t)
//   242     20 bytes   0               height of tree t at 241 + t (t = 1..20)
//   264     20 x u32   0               root page of tree t at 260 + 4 t; swapped
//   344     u32        -1              kept word, carried unchanged; not swapped
//   348     u32        -1              kept word, carried unchanged; not swapped
//   353..980                           one-byte lock targets (see Locking.cpp); content unused
//   1010    2 bytes    0               13245 while a safe-write update runs (this machine's order)
//   1020    4 bytes    0               writer-present marker; shared openers wait while it is 13245
//
// Node page:
//
//   offset  width      meaning
//   0       u32        leftmost child (branch pages: the subtree below the first entry)
//   4       u32        right sibling on the same level, -1 for the last page
//   8       u32        left sibling on the same level, -1 for the first page
//   12      u16        level: 0 for a leaf, parent = child + 1; 65535 marks a free page
//   14      u16        number of entries, at most 143
//   16      u16        free bytes left in the entry area
//   18      1006 bytes entries packed in ascending order, then zero bytes
//
// A free page has words 0 and 8 set to -1, level 65535, no entries, 1006 free bytes, and the
// next free page (or -1) in word 4.
//
// Entry:
//
//   offset  width      meaning
//   0       u8         L, the length of the rest: 6 + key length + payload length
//   1       u8         index number, 1 to 20
//   2       u8         piece number 0 to 127 in the low 7 bits; bit 7 on a record's last piece
//   3       u32        record number (file byte order, unaligned)
//   7       k bytes    the key, encoded by its index's key type
//   7 + k   L - 6 - k  leaf: one piece of the record's data; branch: the child page number in the
//                      last 4 bytes. A branch entry copies bytes 1..6 and the key of the highest
//                      entry to its left; its child holds the entries above it.
//
// Entries are ordered by index number, key (by key type), record number, piece number.
//
// Key types (low 5 bits of the type byte):
//
//   type    stored form                                  length        byte-order fix
//   0       NUL-terminated string, case-sensitive        strlen + 1    none
//   1       NUL-terminated string, case-insensitive      strlen + 1    none
//   2       length byte, then that many bytes            first + 1     none
//   3       signed 32-bit integer                        4             swapped
//   4       signed 16-bit integer                        2             swapped
//   5       32-bit integer, compared by sign             4             swapped
//   6       32-bit float                                 4             swapped
//   7       64-bit float                                 8             all 8 bytes reversed
//   8       composite: length byte, then segments        first + 1     each segment by type
//   9       6 bytes                                      6             none
//   10      unsigned 16-bit integer                      2             swapped
//   11..15  no order; stored like type 2                 first + 1     none
//   16..20  length byte, then bytes                      first + 1     none
//
// A composite key's segments are described by a list the program passes at open (16-byte
// descriptors: byte 0 the segment's key type, byte 9 nonzero for descending order; a type byte
// of 31 ends the list). The list is not stored in the file.

#include <cstdint>
#include <cstring>

namespace recdb {

constexpr int PageSize = 1024;
constexpr int HeaderBlockSize = 1024;
constexpr int HeaderSize = 352;
constexpr int EntryStart = 18;
constexpr int EntryArea = 1006;
constexpr int MaxEntries = 143;
constexpr int MaxKeyLength = 242;
constexpr int PieceSpace = 244;
constexpr int MaxPieces = 128;
constexpr int MaxIndex = 20;
constexpr int MaxHeight = 20;
constexpr int MaxSegments = 242;
constexpr int SegmentSize = 16;
constexpr uint16_t FreeLevel = 65535;
constexpr uint8_t LastPiece = 0x80;
constexpr int UpdateMarkerOffset = 1010;
constexpr int WriterMarkerOffset = 1020;
constexpr uint32_t MarkerValue = 13245;

// Key types: the low 5 bits of an index's type byte (the table above).
enum KeyType : int {
    KeyString = 0, // NUL-terminated, case-sensitive
    KeyStringNoCase = 1, // NUL-terminated, case-insensitive
    KeyCounted = 2, // a length byte, then that many bytes
    KeyInt32 = 3,
    KeyInt16 = 4,
    KeySignedInt32 = 5, // 32-bit integer compared by sign
    KeyFloat = 6,
    KeyDouble = 7,
    KeyComposite = 8, // a length byte, then segments described by the program
    KeySixBytes = 9,
    KeyUInt16 = 10,
    KeyUnorderedFirst = 11, // 11..15: no order; stored like KeyCounted
    KeyUnorderedLast = 15,
    KeyCountedFirst = 16, // 16..20: stored and ordered like KeyCounted
    MaxKeyType = 20,
    SegmentListEnd = 31, // the type byte that ends a composite key's segment list
};

inline int32_t load32(const uint8_t* p)
{
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void store32(uint8_t* p, int32_t v)
{
    std::memcpy(p, &v, 4);
}
inline uint16_t load16(const uint8_t* p)
{
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline void store16(uint8_t* p, uint16_t v)
{
    std::memcpy(p, &v, 2);
}
inline void swap16At(uint8_t* p)
{
    uint8_t t = p[0];
    p[0] = p[1];
    p[1] = t;
}
inline void swap32At(uint8_t* p)
{
    uint8_t t = p[0];
    p[0] = p[3];
    p[3] = t;
    t = p[1];
    p[1] = p[2];
    p[2] = t;
}
inline void swap64At(uint8_t* p)
{
    for (int i = 0; i < 4; ++i) {
        uint8_t t = p[i];
        p[i] = p[7 - i];
        p[7 - i] = t;
    }
}

// The header in this machine's byte order.
struct Header {
    uint32_t changeCounter { 1 };
    int32_t root0 { 0 };
    int32_t height0 { 1 };
    int32_t pageCount { 1 };
    int32_t nextRecord { 1 };
    int32_t extent { 0 };
    int32_t freeHead { -1 };
    int32_t freedRecords { 0 };
    int32_t userWord { 0 };
    int32_t userLength { 0 };
    uint8_t userArea[100] {};
    uint8_t keyTypes[22] {}; // byte i = key type of index i
    uint8_t trees[23] {}; // byte i = tree of index i (i >= 1)
    uint8_t heights[21] {}; // byte t = height of tree t (t >= 1)
    int32_t roots[21] {}; // roots[t] = root of tree t (t >= 1)
    uint32_t kept1 { 0xFFFFFFFF };
    uint32_t kept2 { 0xFFFFFFFF };

    int keyType(int index) const { return keyTypes[index] & 0x1F; }
    int treeOf(int index) const { return trees[index]; }
    int32_t rootOf(int tree) const { return tree == 0 ? root0 : roots[tree]; }
    int32_t heightOf(int tree) const { return tree == 0 ? height0 : heights[tree]; }
    void setTree(int tree, int32_t root, int32_t height);
};

Header defaultHeader();

// True when a file whose byte-order word has these four bytes must be swapped on this machine.
bool fileNeedsSwap(const uint8_t* byteOrderWord);

// Reads the first 352 bytes of a header block; -5 when a signature letter is wrong.
int32_t decodeHeader(const uint8_t* raw, Header& header, bool& swap);
// Writes the first 352 bytes of a header block in the file's byte order.
void encodeHeader(const Header& header, bool swap, uint8_t* raw);

// What the pages need to know about the keys of each index.
struct KeyFormat {
    uint8_t type[MaxIndex + 1] {};
    const uint8_t* segments[MaxIndex + 1] {};
};

// The stored length of a key of this type whose bytes start at key, of which avail are
// readable; -1 when the key does not fit in avail.
int keyLength(int type, const uint8_t* key, int avail);

// A node page in this machine's byte order.
struct Page {
    uint8_t bytes[PageSize];

    int32_t leftChild() const { return load32(bytes); }
    int32_t right() const { return load32(bytes + 4); }
    int32_t left() const { return load32(bytes + 8); }
    int level() const { return load16(bytes + 12); }
    int count() const { return load16(bytes + 14); }
    int freeBytes() const { return load16(bytes + 16); }
    int used() const { return EntryArea - freeBytes(); }
    bool isFree() const { return level() == FreeLevel; }

    void setLeftChild(int32_t v) { store32(bytes, v); }
    void setRight(int32_t v) { store32(bytes + 4, v); }
    void setLeft(int32_t v) { store32(bytes + 8, v); }
    void setLevel(int v) { store16(bytes + 12, static_cast<uint16_t>(v)); }
    void setCount(int v) { store16(bytes + 14, static_cast<uint16_t>(v)); }
    void setFreeBytes(int v) { store16(bytes + 16, static_cast<uint16_t>(v)); }

    // Turns the head fields (the three links and the three 16-bit counts) between byte orders.
    void swapHead()
    {
        swap32At(bytes);
        swap32At(bytes + 4);
        swap32At(bytes + 8);
        swap16At(bytes + 12);
        swap16At(bytes + 14);
        swap16At(bytes + 16);
    }

    void initEmpty(int level);
    // Fills offsets with the start of each entry; returns the count. Only for checked pages.
    int entryOffsets(uint16_t* offsets) const;
};

// Entry field access inside a checked page or an entry buffer.
inline int entrySize(const uint8_t* e)
{
    return 1 + e[0];
}
inline int entryIndex(const uint8_t* e)
{
    return e[1];
}
inline int entryPiece(const uint8_t* e)
{
    return e[2] & 0x7F;
}
inline bool entryIsLast(const uint8_t* e)
{
    return (e[2] & LastPiece) != 0;
}
inline int32_t entryRecord(const uint8_t* e)
{
    return load32(e + 3);
}
inline const uint8_t* entryKey(const uint8_t* e)
{
    return e + 7;
}
inline int entryKeyLength(const uint8_t* e, const KeyFormat& keys)
{
    return keyLength(keys.type[e[1]], e + 7, e[0] - 6);
}
inline int32_t branchChild(const uint8_t* e)
{
    return load32(e + entrySize(e) - 4);
}

// Checks a page read from the file and turns it to this machine's byte order. Returns 0, or
// -30 when the page is damaged (the image is then unusable).
int32_t pageFromFile(Page& page, bool swap, const KeyFormat& keys);
// Turns a checked page to the file's byte order for writing.
void pageToFile(Page& page, bool swap, const KeyFormat& keys);

} // namespace recdb
