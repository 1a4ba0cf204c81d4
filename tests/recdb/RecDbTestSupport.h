#pragma once

// Helpers shared by the record library tests: scratch files, raw file bytes, and a structural
// check of a closed file that reads the bytes itself (not through the library's page layer).

#include "recdb/Format.h"
#include "recdb/KeyCompare.h"
#include "recdb/RecDb.h"
#include "recdb/Verify.h"

#include "platform/sys/ProcessId.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace recdbtest {

using Bytes = std::vector<uint8_t>;

// The key types of the files the tests make: strings in every index, and the lock entries' length
// byte and bytes in index 20; no composite keys.
inline const uint8_t stringKeyTypes[21] = { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2 };
inline const uint8_t* const noSegments[21] = {};

// The prefix and i in `digits` digits: keys that sort in the order of their numbers.
inline std::string numberedKey(const char* prefix, int digits, int i)
{
    char key[32];
    std::snprintf(key, sizeof key, "%s%0*d", prefix, digits, i);
    return key;
}

// What verifying a closed file answers: the open's status, then (when it opened) the verify's
// status and the damage it names.
struct VerifyResult {
    int32_t open;
    int32_t status;
    int32_t code;
    int32_t page;

    // The open's failure, else the verify's status.
    int32_t result() const { return open ? open : status; }
};

inline VerifyResult verifyFile(const std::string& path)
{
    rdbHandle h;
    VerifyResult r { rdbOpen(&h, path.c_str(), 'E', 1, nullptr), 0, 0, 0 };
    if (r.open)
        return r;
    r.status = rdbVerify(&h);
    r.code = h.verifyCode;
    r.page = h.verifyPage;
    rdbClose(&h);
    return r;
}

// A scratch folder per test, on a memory file system when there is one (flushes are cheap). Its
// name holds the process number and a count of the folders this process made, so two test
// programs running at once (a parallel test run, or the same tests in two build trees) never
// share a folder, and the clearing of a stale folder never removes another program's files.
class ScratchDir {
public:
    ScratchDir()
    {
        static std::atomic<int> counter { 0 };
        std::filesystem::path base = std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                         : std::filesystem::temp_directory_path();
        auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = base
            / ("qel_recdb_" + std::string(info ? info->name() : "x") + "_" + std::to_string(platform::processId())
                + "_" + std::to_string(counter++));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    ~ScratchDir() { std::filesystem::remove_all(m_dir); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    const std::filesystem::path& folder() const { return m_dir; }

private:
    std::filesystem::path m_dir;
};

inline Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    Bytes bytes(in ? static_cast<size_t>(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

inline void writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Reads and writes a 32-bit or 16-bit field of a file image in the file's byte order.
inline bool bigEndian(const Bytes& file)
{
    return file[8] != 1;
}
inline int32_t get32(const Bytes& f, size_t at)
{
    uint32_t v = bigEndian(f)
        ? (uint32_t(f[at]) << 24 | uint32_t(f[at + 1]) << 16 | uint32_t(f[at + 2]) << 8 | f[at + 3])
        : (uint32_t(f[at + 3]) << 24 | uint32_t(f[at + 2]) << 16 | uint32_t(f[at + 1]) << 8 | f[at]);
    return static_cast<int32_t>(v);
}
inline void put32(Bytes& f, size_t at, int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        f[at + (bigEndian(f) ? 3 - i : i)] = static_cast<uint8_t>(v >> (8 * i));
}
inline int get16(const Bytes& f, size_t at)
{
    return bigEndian(f) ? (f[at] << 8 | f[at + 1]) : (f[at + 1] << 8 | f[at]);
}
inline void put16(Bytes& f, size_t at, int value)
{
    f[at + (bigEndian(f) ? 1 : 0)] = static_cast<uint8_t>(value);
    f[at + (bigEndian(f) ? 0 : 1)] = static_cast<uint8_t>(value >> 8);
}
inline size_t pageOffset(int32_t page)
{
    return 1024 + 1024 * size_t(page);
}

struct LeafEntry {
    int index;
    Bytes key;
    int32_t record;
    int piece;
    bool last;
    Bytes payload;
};

// Walks tree 0 of a closed little- or big-endian file and checks its structure: levels, counts,
// free bytes, zero tails, entry order inside and across pages, that every entry of a subtree lies
// inside the range its parent gives it, sibling links, the free-page list, and that every page
// below the page count is either in the tree or free. The leaf entries come back in order, with
// keys and record numbers in this machine's order.
class TreeCheck {
public:
    TreeCheck(const Bytes& file, const uint8_t* keyTypes, const uint8_t* const* segments)
        : f(file)
        , types(keyTypes)
        , segs(segments)
    {
    }

    std::string run()
    {
        if (f.size() < 1024)
            return "file shorter than its header";
        pageCount = get32(f, 36);
        int32_t extent = get32(f, 52);
        if (extent < pageCount)
            return "extent below page count";
        if (f.size() < pageOffset(extent))
            return "file shorter than its extent";
        seen.assign(size_t(pageCount), 0);
        int32_t height = get32(f, 28);
        if (height < 1 || height > 20)
            return "bad height";
        levelLast.assign(size_t(height), -1);
        std::string error = walk(get32(f, 12), height - 1, nullptr, nullptr);
        if (!error.empty())
            return error;
        for (size_t level = 0; level < levelLast.size(); ++level) {
            if (levelLast[level] >= 0 && get32(f, pageOffset(levelLast[level]) + 4) != -1)
                return "last page of a level has a right sibling";
        }
        int32_t free = get32(f, 60);
        for (int steps = 0; free != -1; ++steps) {
            if (free < 0 || free >= pageCount || steps > pageCount || seen[size_t(free)])
                return "bad free list at " + std::to_string(free);
            seen[size_t(free)] = 2;
            size_t at = pageOffset(free);
            if (get16(f, at + 12) != 65535 || get16(f, at + 14) != 0 || get16(f, at + 16) != 1006 || get32(f, at) != -1
                || get32(f, at + 8) != -1)
                return "free page " + std::to_string(free) + " does not look free";
            free = get32(f, at + 4);
        }
        for (int32_t p = 0; p < pageCount; ++p) {
            if (!seen[size_t(p)])
                return "page " + std::to_string(p) + " is neither in the tree nor free";
        }
        return "";
    }

    std::vector<LeafEntry> leaves;
    int32_t pageCount = 0;

private:
    struct Parsed {
        Bytes head; // bytes 1..6 and key, machine order
        int index;
        Bytes key;
        int32_t record;
        int piece;
    };

    int keyLen(int index, const uint8_t* key, int avail) const
    {
        return recdb::keyLength(types[index] & 0x1F, key, avail);
    }

    Bytes machineKey(int index, const uint8_t* key, int length) const
    {
        Bytes k(key, key + length);
        if (bigEndian(f)) {
            int t = types[index] & 0x1F;
            if (t == 3 || t == 5 || t == 6 || t == 4 || t == 10 || t == 7)
                std::reverse(k.begin(), k.end());
            if (t == 8 && segs[index]) {
                size_t pos = 1;
                for (int i = 0; segs[index][i * 16] != 31 && pos < k.size(); ++i) {
                    int st = segs[index][i * 16];
                    int sl = recdb::keyLength(st, k.data() + pos, int(k.size() - pos));
                    if (sl < 0)
                        break;
                    if (st == 3 || st == 4 || st == 5 || st == 6 || st == 7 || st == 10)
                        std::reverse(k.begin() + long(pos), k.begin() + long(pos) + sl);
                    pos += size_t(sl);
                }
            }
        }
        return k;
    }

    // Entry order: index, key, record number, piece.
    int compare(const Parsed& a, const Parsed& b) const
    {
        if (a.index != b.index)
            return a.index < b.index ? -1 : 1;
        bool unordered = false;
        int t = types[a.index] & 0x1F;
        int r = recdb::compareKeys(
            t, a.key.data(), int(a.key.size()), b.key.data(), int(b.key.size()), segs[a.index], &unordered);
        if (r)
            return r < 0 ? -1 : 1;
        if (a.record != b.record)
            return a.record < b.record ? -1 : 1;
        return a.piece < b.piece ? -1 : a.piece > b.piece ? 1 : 0;
    }

    std::string walk(int32_t page, int level, const Parsed* low, const Parsed* high)
    {
        std::string where = "page " + std::to_string(page) + ": ";
        if (page < 0 || page >= pageCount)
            return where + "out of range";
        if (seen[size_t(page)])
            return where + "reached twice";
        seen[size_t(page)] = 1;
        size_t base = pageOffset(page);
        if (get16(f, base + 12) != level)
            return where + "wrong level";
        // Pages of one level are met left to right and must be linked that way.
        if (get32(f, base + 8) != levelLast[size_t(level)])
            return where + "left link does not name the page before it";
        if (levelLast[size_t(level)] >= 0 && get32(f, pageOffset(levelLast[size_t(level)]) + 4) != page)
            return where + "right link of the page before does not name it";
        levelLast[size_t(level)] = page;
        int count = get16(f, base + 14);
        if (count > 143)
            return where + "too many entries";
        size_t off = base + 18;
        std::vector<Parsed> entries;
        std::vector<int32_t> children;
        for (int i = 0; i < count; ++i) {
            if (off >= base + 1024)
                return where + "entries overrun";
            int rest = f[off];
            if (rest < 6 || off + 1 + size_t(rest) > base + 1024)
                return where + "entry overruns the page";
            Parsed p;
            p.index = f[off + 1];
            if (p.index < 1 || p.index > 20)
                return where + "bad index number";
            int kl = keyLen(p.index, &f[off + 7], rest - 6);
            if (kl < 0)
                return where + "key overruns its entry";
            p.key = machineKey(p.index, &f[off + 7], kl);
            p.record = get32(f, off + 3);
            p.piece = f[off + 2] & 0x7F;
            if (level > 0) {
                if (rest != kl + 10)
                    return where + "branch entry of the wrong length";
                children.push_back(get32(f, off + 1 + size_t(rest) - 4));
            } else {
                leaves.push_back({ p.index, p.key, p.record, p.piece, (f[off + 2] & 0x80) != 0,
                    Bytes(&f[off + 7 + size_t(kl)], &f[off + 1 + size_t(rest)]) });
            }
            if (!entries.empty() && compare(entries.back(), p) >= 0)
                return where + "entries out of order";
            if ((low && compare(p, *low) <= 0) || (high && compare(p, *high) > 0))
                return where + "entry outside its parent's range";
            entries.push_back(p);
            off += 1 + size_t(rest);
        }
        if (get16(f, base + 16) != int(base + 1024 - off))
            return where + "free-byte count disagrees";
        for (size_t z = off; z < base + 1024; ++z) {
            if (f[z])
                return where + "bytes after the entries are not zero";
        }
        if (level == 0)
            return "";
        std::string error = walk(get32(f, base), level - 1, low, entries.empty() ? high : &entries[0]);
        for (size_t i = 0; error.empty() && i < entries.size(); ++i)
            error = walk(children[i], level - 1, &entries[i], i + 1 < entries.size() ? &entries[i + 1] : high);
        return error;
    }

    const Bytes& f;
    const uint8_t* types;
    const uint8_t* const* segs;
    std::vector<uint8_t> seen;
    std::vector<int32_t> levelLast;
};

} // namespace recdbtest
