#include "tools/diskbuild/Bytes.h"

#include <fstream>

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

bool writeBytes(const std::string& path, const void* bytes, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), std::streamsize(size));
    return bool(out);
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return writeBytes(path, bytes.data(), bytes.size());
}
