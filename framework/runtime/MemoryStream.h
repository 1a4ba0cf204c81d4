#pragma once

// A stream over a block of memory. Lent blocks (the caller's) never grow: a write that does not
// fit is refused. Owned blocks (made by the stream from the pooled allocator, at least 512 bytes)
// grow when a write passes their end. There is no separate length: the size is the capacity, and
// a writer learns how much it wrote from tell.

#include "framework/runtime/Stream.h"

class qelMemoryStream final : public qelStreamObject {
public:
    // Over the caller's block of `size` bytes (not owned), or, when block is null, over a new
    // zero-filled block of max(512, size) bytes (owned).
    qelMemoryStream(uint8_t* block, int32_t size);
    ~qelMemoryStream() override;

    int32_t isWritable() const override { return 1; }
    int32_t isOpen() const override { return m_block != nullptr; }
    int32_t atEnd() const override { return m_position >= m_capacity; }
    int32_t size() const override { return m_capacity; }
    int32_t tell() const override { return m_position; }
    int32_t seek(int32_t position) override;
    int32_t readByte() override;
    int32_t read(uint8_t* bytes, int32_t count) override;
    int32_t writeByte(uint8_t byte) override;
    int32_t write(const uint8_t* bytes, int32_t count) override;
    int32_t flush() override { return 1; }

    // The block itself, valid until the next write that grows it.
    const uint8_t* data() const { return m_block; }
    bool ownsBlock() const { return m_owner != 0; }

private:
    // Makes room for `needed` bytes from the position; false when the block may not grow.
    bool reserve(int64_t needed, bool doubleOnly);

    uint8_t* m_block { nullptr };
    int32_t m_capacity { 0 };
    int32_t m_position { 0 };
    int32_t m_owner { 0 };
};

// A stream value over the block (lent), or over a new owned block when block is null.
qelValue qelNewMemoryStream(uint8_t* block, int32_t size);
