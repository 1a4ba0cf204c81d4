#include "tools/qelidx/Dump.h"

#include "recdb/Format.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace recdb;

namespace {

// A key as text: printable ASCII as it is, other bytes as \xhh; numbers as numbers.
std::string keyText(int type, const uint8_t* key, int length)
{
    std::string out;
    char hex[8];
    switch (type) {
    case 3:
    case 5:
        return std::to_string(load32(key));
    case 4: {
        int16_t v;
        std::memcpy(&v, key, 2);
        return std::to_string(v);
    }
    case 10:
        return std::to_string(load16(key));
    case 0:
    case 1:
        length = length > 0 ? length - 1 : 0; // without the NUL
        break;
    default:
        break;
    }
    out.push_back('"');
    for (int i = 0; i < length; ++i) {
        uint8_t c = key[i];
        if (c >= 32 && c < 127 && c != '"' && c != '\\') {
            out.push_back(char(c));
        } else {
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    out.push_back('"');
    return out;
}

} // namespace

int dumpRecordFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "Cannot open %s\n", path);
        return 1;
    }
    std::vector<uint8_t> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Header h;
    bool swap = false;
    if (f.size() < size_t(HeaderSize) || decodeHeader(f.data(), h, swap) != 0) {
        std::fprintf(stderr, "%s is not a record file\n", path);
        return 1;
    }
    std::printf("byte order      %s\n", swap ? "swapped" : "this machine's");
    std::printf("change counter  %u\n", h.changeCounter);
    std::printf("tree 0          root %d height %d\n", h.root0, h.height0);
    std::printf("page count      %d\n", h.pageCount);
    std::printf("extent          %d\n", h.extent);
    std::printf("next record     %d\n", h.nextRecord);
    std::printf("free page head  %d\n", h.freeHead);
    std::printf("freed records   %d\n", h.freedRecords);
    std::printf("user word       %d\n", h.userWord);
    std::printf("user area       %d bytes\n", h.userLength);
    for (int i = 1; i <= MaxIndex; ++i) {
        if (h.keyTypes[i] || h.trees[i])
            std::printf("index %-2d        key type %d tree %d\n", i, h.keyType(i), h.treeOf(i));
    }
    for (int t = 1; t <= MaxIndex; ++t) {
        if (h.roots[t])
            std::printf("tree %-2d         root %d height %d\n", t, h.roots[t], h.heights[t]);
    }
    KeyFormat keys;
    for (int i = 1; i <= MaxIndex; ++i)
        keys.type[i] = static_cast<uint8_t>(h.keyType(i));
    // Pages up to the extent that the file holds.
    for (int32_t n = 0; n < h.extent && size_t(HeaderBlockSize) + size_t(PageSize) * size_t(n + 1) <= f.size(); ++n) {
        Page page;
        std::memcpy(page.bytes, f.data() + HeaderBlockSize + size_t(PageSize) * size_t(n), PageSize);
        if (n >= h.pageCount) {
            std::printf("page %d: reserve\n", n);
            continue;
        }
        if (pageFromFile(page, swap, keys) != 0) {
            std::printf("page %d: damaged\n", n);
            continue;
        }
        if (page.isFree()) {
            std::printf("page %d: free, next %d\n", n, page.right());
            continue;
        }
        bool branch = page.level() > 0;
        std::printf("page %d: level %d, %d entries, %d free bytes, left %d, right %d", n, page.level(), page.count(),
            page.freeBytes(), page.left(), page.right());
        if (branch)
            std::printf(", leftmost child %d", page.leftChild());
        std::printf("\n");
        int off = EntryStart;
        for (int i = 0; i < page.count(); ++i) {
            const uint8_t* e = page.bytes + off;
            int keyLen = entryKeyLength(e, keys);
            std::string key = keyText(keys.type[entryIndex(e)], entryKey(e), keyLen);
            if (branch) {
                std::printf("  index %d key %s record %d piece %d -> child %d\n", entryIndex(e), key.c_str(),
                    entryRecord(e), entryPiece(e), branchChild(e));
            } else {
                std::printf("  index %d key %s record %d piece %d%s, %d data bytes\n", entryIndex(e), key.c_str(),
                    entryRecord(e), entryPiece(e), entryIsLast(e) ? " (last)" : "", entrySize(e) - 7 - keyLen);
            }
            off += entrySize(e);
        }
    }
    return 0;
}
