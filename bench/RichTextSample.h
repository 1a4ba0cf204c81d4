#pragma once

// The rich-text benchmarks' generated texts: Portuguese-like words with accented letters written
// as \'hh, a link about every 50 words, a picture ("foto.bmp") about every 2 KB, tabs and
// paragraph ends, from a fixed seed so that every run lays out the same text.

#include <cstddef>
#include <cstdint>
#include <string>

inline std::string richTextSample(size_t size)
{
    static const char* const words[] = { "o", "Brasil", "\\'e9", "maior", "pa\\'eds", "da", "Am\\'e9rica", "do", "Sul",
        "com", "popula\\'e7\\'e3o", "de", "habitantes", "capital", "Bras\\'edlia", "regi\\'e3o", "norte", "rios",
        "floresta", "economia", "agricultura", "ind\\'fastria", "servi\\'e7os", "hist\\'f3ria", "col\\'f4nia",
        "independ\\'eancia", "rep\\'fablica", "estados", "munic\\'edpios", "cultura", "m\\'fasica", "literatura" };
    constexpr size_t wordCount = sizeof words / sizeof words[0];
    std::string text = "\\qc {\\b\\fs28 T\\'edtulo}\\par\\pard\n";
    uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    size_t n = 0, lastPicture = 0;
    while (text.size() < size) {
        ++n;
        const char* word = words[next() % wordCount];
        if (n % 50 == 0)
            text += std::string("{\\uldb ") + word + "}!\\{jump:" + word + "\\} ";
        else if (n % 97 == 0)
            text += std::string("{\\b ") + word + "} ";
        else
            text += std::string(word) + (n % 83 == 0 ? "\\tab " : " ");
        if (text.size() - lastPicture > 2048) {
            text += "{img foto.bmp;Foto\\}";
            lastPicture = text.size();
        }
        if (n % 80 == 0)
            text += "\\par\n";
    }
    return text;
}
