#include "framework/runtime/CaseMap.h"
#include "framework/runtime/TextEncoding.h"

namespace {

using Map = std::array<uint8_t, 256>;

constexpr const char* smallLetters = "abcdefghijklmnopqrstuvwxyzàáâãäåæçèéêëìíîïñòóôõöøùúûüýšœÿ"_cp;
constexpr const char* capitalLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÑÒÓÔÕÖØÙÚÛÜÝŠŒŸ"_cp;

constexpr Map identity()
{
    Map map {};
    for (int c = 0; c < 256; ++c)
        map[c] = uint8_t(c);
    return map;
}

constexpr Map buildCase(const char* from, const char* to)
{
    Map map = identity();
    for (; *from; ++from, ++to)
        map[uint8_t(*from)] = uint8_t(*to);
    return map;
}

// Pairs of (code, folded code), as two parallel texts.
constexpr const char* foldFrom = "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝŠŒŸ"
                                 "àáâãäåæçèéêëìíîïñòóôõöøùúûüýÿšœß"
                                 "×÷‚‘’´“”–—¦¹²³"_cp;
constexpr const char* foldTo = "AAAAAAACEEEEIIIIDNOOOOOOUUUUYSOY"
                               "aaaaaaaceeeeiiiinoooooouuuuyysoB"
                               "X/''''\"\"--|123";

constexpr Map buildFold()
{
    Map map {};
    for (int c = 0; c < 256; ++c)
        map[c] = (c >= 32 && c < 127) ? uint8_t(c) : uint8_t(' ');
    const char* to = foldTo;
    for (const char* from = foldFrom; *from; ++from, ++to)
        map[uint8_t(*from)] = uint8_t(*to);
    return map;
}

} // namespace

constexpr Map qelUpperCaseMap = buildCase(smallLetters, capitalLetters);
constexpr Map qelLowerCaseMap = buildCase(capitalLetters, smallLetters);
constexpr Map qelFoldMap = buildFold();

namespace {
constexpr int textLength(const char* text)
{
    int n = 0;
    while (text[n])
        ++n;
    return n;
}
static_assert(textLength(smallLetters) == textLength(capitalLetters));
static_assert(textLength(foldFrom) == textLength(foldTo));
} // namespace
