#include "recdb/Database.h"

#include "recdb/PageCache.h"

#include <vector>

namespace recdb {

Database::Database(rdbHandle* h)
    : handle(h)
{
    static uint64_t nextGeneration = 1;
    generation = nextGeneration++;
}

Database::~Database()
{
    PageCache::the().drop(*this);
}

void Database::setKeyTypes()
{
    for (int i = 1; i <= MaxIndex; ++i)
        keys.type[i] = static_cast<uint8_t>(header.keyType(i));
}

int32_t Database::readHeaderBlock()
{
    uint8_t raw[HeaderSize];
    int64_t n = file.readAt(0, raw, sizeof raw);
    // Why: a file shorter than the header cannot be a record file.
    if (n != HeaderSize) {
        handle->errorDetail = static_cast<int32_t>(file.lastError());
        return RDB_HEADER_FAILED;
    }
    Header fresh;
    bool fileSwap;
    int32_t status = decodeHeader(raw, fresh, fileSwap);
    if (status)
        return status;
    header = fresh;
    filePages = header.extent;
    swap = fileSwap;
    setKeyTypes();
    headerChanged = false;
    return 0;
}

bool Database::writeBytes(int64_t offset, const void* data, size_t size)
{
    if (failWrite && failWrite(offset, size)) {
        handle->errorDetail = static_cast<int32_t>(platform::FileError::IO);
        return false;
    }
    if (file.writeAt(offset, data, size) == static_cast<int64_t>(size))
        return true;
    handle->errorDetail = static_cast<int32_t>(file.lastError());
    return false;
}

int32_t Database::deferWriteFailure(int32_t status)
{
    if (status != RDB_WRITE_FAILED)
        return status;
    if (!writeFailure)
        writeFailure = status;
    return 0;
}

int32_t Database::writeHeader()
{
    if (!writable)
        return RDB_READ_ONLY;
    uint8_t raw[HeaderSize];
    encodeHeader(header, swap, raw);
    if (!writeBytes(0, raw, sizeof raw))
        return RDB_WRITE_FAILED;
    headerChanged = false;
    return 0;
}

int32_t Database::writeMarker(int offset, uint32_t value, int width)
{
    if (!writable)
        return RDB_READ_ONLY;
    uint8_t bytes[4];
    if (width == 2)
        store16(bytes, static_cast<uint16_t>(value));
    else
        store32(bytes, static_cast<int32_t>(value));
    if (!writeBytes(offset, bytes, static_cast<size_t>(width)) || !file.flush())
        return RDB_WRITE_FAILED;
    return 0;
}

int32_t Database::writeBack()
{
    if (!writable)
        return 0;
    int32_t status = PageCache::the().writeChanged(*this);
    if (headerChanged) {
        int32_t headerStatus = writeHeader();
        if (!status)
            status = headerStatus;
    }
    int32_t cut = cutToExtent();
    return status ? status : cut;
}

int32_t Database::writePageNow(int32_t page, const Page& image)
{
    if (!writable)
        return RDB_READ_ONLY;
    Page out = image;
    pageToFile(out, swap, keys);
    int64_t offset = HeaderBlockSize + int64_t(PageSize) * page;
    if (!writeBytes(offset, out.bytes, PageSize))
        return RDB_WRITE_FAILED;
    return 0;
}

int32_t Database::writePagesNow(int32_t first, const Page* const* images, int count)
{
    if (count == 1)
        return writePageNow(first, *images[0]);
    if (!writable)
        return RDB_READ_ONLY;
    static_assert(sizeof(Page) == PageSize, "pages are written as an array");
    std::vector<Page> out;
    out.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        out.push_back(*images[i]);
        pageToFile(out.back(), swap, keys);
    }
    int64_t offset = HeaderBlockSize + int64_t(PageSize) * first;
    size_t bytes = out.size() * sizeof(Page);
    if (!writeBytes(offset, out.data(), bytes))
        return RDB_WRITE_FAILED;
    return 0;
}

int32_t Database::fetch(int32_t page, Page& out)
{
    const Page* cached;
    int32_t status = fetchRef(page, cached);
    if (!status)
        out = *cached;
    return status;
}

int32_t Database::fetchRef(int32_t page, const Page*& out)
{
    if (page < 0)
        return RDB_NEGATIVE_PAGE;
    if (shared && !holdsFileLock)
        checkChangeCounter();
    // Why: pages at or past the page count were never handed out; a link there is damage.
    if (page >= header.pageCount)
        return RDB_DAMAGED;
    PageCache& cache = PageCache::the();
    if (CachedPage* hit = cache.find(generation, page)) {
        out = &hit->image;
        return 0;
    }
    CachedPage* buffer;
    int32_t status = cache.take(*this, page, buffer);
    if (status)
        return status;
    ++pageReads;
    int64_t n = file.readAt(HeaderBlockSize + int64_t(PageSize) * page, buffer->image.bytes, PageSize);
    if (n != PageSize) {
        handle->errorDetail = static_cast<int32_t>(file.lastError());
        cache.release(*buffer);
        return RDB_SHORT_READ;
    }
    status = pageFromFile(buffer->image, swap, keys);
    if (status) {
        cache.release(*buffer);
        return status;
    }
    buffer->changed = false;
    out = &buffer->image;
    return 0;
}

int32_t Database::store(int32_t page, const Page& image)
{
    if (!writable)
        return RDB_READ_ONLY;
    if (page < 0)
        return RDB_NEGATIVE_PAGE;
    if (shared && !holdsFileLock)
        checkChangeCounter();
    // Why: pages past the extent were never appended; writing one would leave a gap the header
    // does not know about.
    if (page >= header.extent || image.count() > MaxEntries || image.freeBytes() > EntryArea)
        return RDB_DAMAGED;
    headerChanged = true;
    PageCache& cache = PageCache::the();
    CachedPage* buffer = cache.find(generation, page);
    if (!buffer) {
        int32_t status = cache.take(*this, page, buffer);
        if (status)
            return status;
    }
    buffer->image = image;
    bool leaf = image.level() == 0;
    bool now = writeMode() == 3 || (writeMode() == 2 && leaf);
    if (now && !shared) {
        // A page that did not reach the file stays marked, so that the next write-back retries it
        // and the file ends up as the cache has it.
        int32_t status = writePageNow(page, image);
        buffer->changed = status != 0;
        return deferWriteFailure(status);
    }
    buffer->changed = true;
    return 0;
}

int callerKeyLength(int type, const void* key)
{
    auto* k = static_cast<const uint8_t*>(key);
    if (!k)
        return -1;
    if (type == KeyString || type == KeyStringNoCase) {
        // Why: the program's string may be of any length; stop looking past the longest key.
        for (int i = 0; i <= MaxKeyLength; ++i) {
            if (!k[i])
                return i + 1;
        }
        return -1;
    }
    return keyLength(type, k, 256);
}

} // namespace recdb
