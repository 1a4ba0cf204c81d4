#pragma once

// The bytes Registro.dat must hold for a record: the archive's magic, its directory's offset, the
// one item (a string: type 6, its length, its bytes) and the directory (an int-list of one
// offset, 8).

#include <cstdint>
#include <string>

namespace registrotest {

inline std::string registroFileBytes(const std::string& text)
{
    std::string bytes = "0QEL";
    auto int32 = [&](uint32_t n) {
        for (int i = 0; i < 4; ++i)
            bytes += char((n >> (8 * i)) & 0xFF);
    };
    int32(uint32_t(8 + 5 + text.size()));
    bytes += '\x06';
    int32(uint32_t(text.size()));
    bytes += text;
    bytes += std::string("\x08\x01\x00\x00\x00\x03\x08\x00\x00\x00", 10);
    return bytes;
}

} // namespace registrotest
