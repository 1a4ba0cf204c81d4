#include "framework/runtime/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr int32_t minimumOwnedBlock = 512;

} // namespace

qelMemoryStream::qelMemoryStream(uint8_t* block, int32_t size)
{
    if (block) {
        // Why: a negative size would let reads and writes run before the block.
        m_block = block;
        m_capacity = std::max(size, 0);
        return;
    }
    m_capacity = std::max(minimumOwnedBlock, size);
    m_block = static_cast<uint8_t*>(qelAlloc(size_t(m_capacity)));
    m_owner = 1;
    if (!m_block)
        m_capacity = 0;
}

qelMemoryStream::~qelMemoryStream()
{
    if (m_owner && m_block)
        qelFree(m_block, size_t(m_capacity));
}

int32_t qelMemoryStream::seek(int32_t position)
{
    if (position < 0 || position > m_capacity)
        return 0;
    m_position = position;
    return 1;
}

int32_t qelMemoryStream::readByte()
{
    if (m_position >= m_capacity)
        return -1;
    return m_block[m_position++];
}

int32_t qelMemoryStream::read(uint8_t* bytes, int32_t count)
{
    if (count <= 0 || m_position >= m_capacity)
        return 0;
    int32_t n = std::min(count, m_capacity - m_position);
    std::memcpy(bytes, m_block + m_position, size_t(n));
    m_position += n;
    return n;
}

bool qelMemoryStream::reserve(int64_t needed, bool doubleOnly)
{
    int64_t free = int64_t(m_capacity) - m_position;
    if (needed <= free)
        return true;
    if (!m_owner || !m_block)
        return false;
    int64_t grown = int64_t(m_capacity) * 2;
    if (!doubleOnly && grown < int64_t(m_position) + needed)
        grown = int64_t(m_position) + needed + minimumOwnedBlock;
    // Why: positions and sizes are 32-bit; a block that would pass that cannot be addressed.
    if (grown > std::numeric_limits<int32_t>::max())
        return false;
    auto* block = static_cast<uint8_t*>(qelAlloc(size_t(grown)));
    if (!block)
        return false;
    std::memcpy(block, m_block, size_t(m_capacity));
    qelFree(m_block, size_t(m_capacity));
    m_block = block;
    m_capacity = int32_t(grown);
    return true;
}

int32_t qelMemoryStream::writeByte(uint8_t byte)
{
    if (!reserve(1, true))
        return 0;
    m_block[m_position++] = byte;
    return 1;
}

int32_t qelMemoryStream::write(const uint8_t* bytes, int32_t count)
{
    if (count <= 0)
        return 0;
    if (!reserve(count, false))
        return 0;
    std::memcpy(m_block + m_position, bytes, size_t(count));
    m_position += count;
    return count;
}

qelValue qelNewMemoryStream(uint8_t* block, int32_t size)
{
    return qelMakeObjectValue(QEL_STREAM_TYPE, new qelMemoryStream(block, size));
}
