#pragma once

// The bytes of the disk's binary files: little-endian numbers appended to a buffer, and a whole
// file written at once.

#include <cstdint>
#include <string>
#include <vector>

void put16(std::vector<uint8_t>& out, uint32_t v);
void put32(std::vector<uint8_t>& out, uint32_t v);

// Replaces the file at path with the bytes. False when it cannot be written whole.
bool writeBytes(const std::string& path, const void* bytes, size_t size);
bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
