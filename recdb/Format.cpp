#include "recdb/Format.h"
#include "recdb/RecDb.h"

namespace recdb {

namespace {

    constexpr struct {
        int offset;
        int32_t letter;
    } signature[]
        = { { 4, 'V' }, { 16, 'A' }, { 20, 'L' }, { 24, 'I' }, { 32, 'D' }, { 40, 'A' }, { 48, 'T' }, { 56, '1' } };

    int32_t loadWord(const uint8_t* raw, int offset, bool swap)
    {
        uint8_t b[4];
        std::memcpy(b, raw + offset, 4);
        if (swap)
            swap32At(b);
        return load32(b);
    }

    void storeWord(uint8_t* raw, int offset, int32_t value, bool swap)
    {
        store32(raw + offset, value);
        if (swap)
            swap32At(raw + offset);
    }

    // Turns one key between byte orders; the key was checked to lie inside the entry.
    void swapKey(int type, uint8_t* key, int length, const uint8_t* segments)
    {
        switch (type) {
        case KeyInt32:
        case KeySignedInt32:
        case KeyFloat:
            swap32At(key);
            break;
        case KeyInt16:
        case KeyUInt16:
            swap16At(key);
            break;
        case KeyDouble:
            swap64At(key);
            break;
        case KeyComposite: {
            if (!segments)
                return;
            int pos = 1;
            for (int i = 0; i < MaxSegments; ++i) {
                const uint8_t* d = segments + i * SegmentSize;
                int segType = d[0] & 0x1F;
                if (d[0] == SegmentListEnd)
                    return;
                // Why: a segment that runs past the key ends the walk, as it ends comparison.
                int segLength = segType == KeyComposite ? -1 : keyLength(segType, key + pos, length - pos);
                if (segLength < 0)
                    return;
                swapKey(segType, key + pos, segLength, nullptr);
                pos += segLength;
            }
            break;
        }
        default:
            break;
        }
    }

    // Swaps the fields of one entry that is known to lie inside the page.
    void swapEntry(uint8_t* e, int keyLen, bool branch, const KeyFormat& keys)
    {
        swap32At(e + 3);
        swapKey(keys.type[e[1]], e + 7, keyLen, keys.segments[e[1]]);
        if (branch)
            swap32At(e + entrySize(e) - 4);
    }

} // namespace

void Header::setTree(int tree, int32_t root, int32_t height)
{
    if (tree == 0) {
        root0 = root;
        height0 = height;
    } else {
        roots[tree] = root;
        heights[tree] = static_cast<uint8_t>(height);
    }
}

Header defaultHeader()
{
    Header h;
    h.keyTypes[20] = 2; // index 20 holds the record locks, keyed by length-prefixed bytes
    return h;
}

bool fileNeedsSwap(const uint8_t* byteOrderWord)
{
    return load32(byteOrderWord) != 1;
}

int32_t decodeHeader(const uint8_t* raw, Header& h, bool& swap)
{
    swap = fileNeedsSwap(raw + 8);
    for (const auto& s : signature) {
        if (loadWord(raw, s.offset, swap) != s.letter)
            return RDB_BAD_SIGNATURE;
    }
    h.changeCounter = static_cast<uint32_t>(loadWord(raw, 0, swap));
    h.root0 = loadWord(raw, 12, swap);
    h.height0 = loadWord(raw, 28, swap);
    h.pageCount = loadWord(raw, 36, swap);
    h.nextRecord = loadWord(raw, 44, swap);
    h.extent = loadWord(raw, 52, swap);
    h.freeHead = loadWord(raw, 60, swap);
    h.freedRecords = loadWord(raw, 64, swap);
    h.userWord = loadWord(raw, 68, swap);
    h.userLength = loadWord(raw, 72, swap);
    std::memcpy(h.userArea, raw + 92, 100);
    std::memcpy(h.keyTypes, raw + 192, 22);
    std::memcpy(h.trees + 1, raw + 220, 22);
    std::memcpy(h.heights + 1, raw + 242, 20);
    for (int t = 1; t <= 20; ++t)
        h.roots[t] = loadWord(raw, 260 + 4 * t, swap);
    h.kept1 = static_cast<uint32_t>(load32(raw + 344));
    h.kept2 = static_cast<uint32_t>(load32(raw + 348));
    return 0;
}

void encodeHeader(const Header& h, bool swap, uint8_t* raw)
{
    std::memset(raw, 0, HeaderSize);
    for (const auto& s : signature)
        storeWord(raw, s.offset, s.letter, swap);
    storeWord(raw, 8, 1, swap);
    storeWord(raw, 0, static_cast<int32_t>(h.changeCounter), swap);
    storeWord(raw, 12, h.root0, swap);
    storeWord(raw, 28, h.height0, swap);
    storeWord(raw, 36, h.pageCount, swap);
    storeWord(raw, 44, h.nextRecord, swap);
    storeWord(raw, 52, h.extent, swap);
    storeWord(raw, 60, h.freeHead, swap);
    storeWord(raw, 64, h.freedRecords, swap);
    storeWord(raw, 68, h.userWord, swap);
    // A length outside 1..100 empties the user area.
    bool keepUser = h.userLength >= 1 && h.userLength <= 100;
    storeWord(raw, 72, keepUser ? h.userLength : 0, swap);
    if (keepUser)
        std::memcpy(raw + 92, h.userArea, static_cast<size_t>(h.userLength));
    std::memcpy(raw + 192, h.keyTypes, 22);
    std::memcpy(raw + 220, h.trees + 1, 22);
    std::memcpy(raw + 242, h.heights + 1, 20);
    for (int t = 1; t <= 20; ++t)
        storeWord(raw, 260 + 4 * t, h.roots[t], swap);
    store32(raw + 344, static_cast<int32_t>(h.kept1));
    store32(raw + 348, static_cast<int32_t>(h.kept2));
}

int keyLength(int type, const uint8_t* key, int avail)
{
    if (avail <= 0)
        return -1;
    int length;
    switch (type) {
    case KeyString:
    case KeyStringNoCase: {
        const void* nul = std::memchr(key, 0, static_cast<size_t>(avail));
        if (!nul)
            return -1;
        return static_cast<int>(static_cast<const uint8_t*>(nul) - key) + 1;
    }
    case KeyInt32:
    case KeySignedInt32:
    case KeyFloat:
        length = 4;
        break;
    case KeyInt16:
    case KeyUInt16:
        length = 2;
        break;
    case KeyDouble:
        length = 8;
        break;
    case KeySixBytes:
        length = 6;
        break;
    default: // 2, 8, 11..20: a length byte and its bytes
        length = key[0] + 1;
        break;
    }
    return length <= avail ? length : -1;
}

void Page::initEmpty(int lvl)
{
    std::memset(bytes, 0, PageSize);
    setRight(-1);
    setLeft(-1);
    setLevel(lvl);
    setFreeBytes(EntryArea);
}

int Page::entryOffsets(uint16_t* offsets) const
{
    int n = count();
    int off = EntryStart;
    for (int i = 0; i < n; ++i) {
        offsets[i] = static_cast<uint16_t>(off);
        off += entrySize(bytes + off);
    }
    return n;
}

int32_t pageFromFile(Page& page, bool swap, const KeyFormat& keys)
{
    uint8_t* b = page.bytes;
    if (swap)
        page.swapHead();
    int count = page.count();
    // Why: a page holds at most 143 entries; more means the count field is damaged.
    if (count > MaxEntries)
        return RDB_DAMAGED;
    if (page.isFree())
        return count == 0 ? 0 : RDB_DAMAGED;
    bool branch = page.level() > 0;
    int off = EntryStart;
    for (int i = 0; i < count; ++i) {
        // Why: the length byte must leave room for the fixed head, and the entry must end
        // inside the entry area; otherwise every later offset would read outside the page.
        if (off >= PageSize)
            return RDB_DAMAGED;
        int rest = b[off];
        if (rest < 6 || off + 1 + rest > EntryStart + EntryArea)
            return RDB_DAMAGED;
        int index = b[off + 1];
        if (index < 1 || index > MaxIndex)
            return RDB_DAMAGED;
        // Why: the key must end inside the entry, and a branch entry needs its child number.
        int keyLen = keyLength(keys.type[index], b + off + 7, rest - 6);
        if (keyLen < 0 || keyLen > MaxKeyLength)
            return RDB_DAMAGED;
        if (branch && rest - 6 - keyLen < 4)
            return RDB_DAMAGED;
        if (swap)
            swapEntry(b + off, keyLen, branch, keys);
        off += 1 + rest;
    }
    // Why: the free-byte count sizes every later insertion; it must agree with the entries.
    if (page.freeBytes() != EntryStart + EntryArea - off)
        return RDB_DAMAGED;
    return 0;
}

void pageToFile(Page& page, bool swap, const KeyFormat& keys)
{
    if (!swap)
        return;
    uint8_t* b = page.bytes;
    if (!page.isFree()) {
        bool branch = page.level() > 0;
        int off = EntryStart;
        for (int i = 0; i < page.count(); ++i) {
            uint8_t* e = b + off;
            swapEntry(e, entryKeyLength(e, keys), branch, keys);
            off += entrySize(e);
        }
    }
    page.swapHead();
}

} // namespace recdb
