#include "framework/runtime/Collation.h"
#include "framework/runtime/TextEncoding.h"

#include <array>

namespace {

// Letters in collation order from weight 10 up; weight 119 is unused, then come ÿ Ý ý Z z.
constexpr const char* lettersFrom10 = "AaÀàÁáÂâÃãÄäÅåÆæBbCcÇçDdEeÈèÉéÊêËëFfGgHhIiÌìÍíÎîÏïJjKkLlMmNnÑñ"
                                      "OoÒòÓóÔôÕõÖöØøŒœPpQqRrSsŠšßTtUuÙùÚúÛûÜüVvWwXxYy"_cp;
constexpr const char* lettersFrom120 = "ÿÝýZz"_cp;
constexpr const char* lettersInControlRange = "ŠŒšœ"_cp;

constexpr std::array<uint8_t, 256> buildWeights()
{
    std::array<uint8_t, 256> weights {};
    for (int c = '0'; c <= '9'; ++c)
        weights[c] = uint8_t(c - '0');
    int weight = 10;
    for (const char* p = lettersFrom10; *p; ++p)
        weights[uint8_t(*p)] = uint8_t(weight++);
    weight = 120;
    for (const char* p = lettersFrom120; *p; ++p)
        weights[uint8_t(*p)] = uint8_t(weight++);
    weights[16] = 125;

    weight = 126;
    auto range = [&](int first, int last) {
        for (int c = first; c <= last; ++c)
            weights[c] = uint8_t(weight++);
    };
    range(3, 15);
    range(2, 2);
    range(17, 31);
    range(' ', '/');
    range(':', '@');
    weights[0xF7] = uint8_t(weight++); // ÷
    weights[0] = weights[1] = uint8_t(weight++);
    range('[', '`');
    range('{', 127);
    for (int c = 128; c <= 191; ++c) {
        bool letter = false;
        for (const char* p = lettersInControlRange; *p; ++p)
            letter = letter || uint8_t(*p) == c;
        if (!letter)
            weights[c] = uint8_t(weight++);
    }
    for (int c : { 0xD0, 0xD7, 0xDE, 0xF0, 0xFE }) // Ð × Þ ð þ
        weights[c] = uint8_t(weight++);
    return weights;
}

} // namespace

constexpr std::array<uint8_t, 256> qelCollationWeights = buildWeights();
static_assert(qelCollationWeights[0] == qelEndOfTextWeight && qelCollationWeights[0xFE] == 255);

namespace {

int weightAt(const char* p)
{
    return qelCollationWeights[static_cast<unsigned char>(*p)];
}

const char* skipIgnored(const char* p)
{
    while (*p && weightAt(p) >= qelFirstIgnoredWeight)
        ++p;
    return p;
}

} // namespace

int32_t qelCollateText(const char* a, const char* b)
{
    a = skipIgnored(a);
    b = skipIgnored(b);
    while (*a && *b) {
        int difference = weightAt(a) - weightAt(b);
        if (difference != 0)
            return difference;
        a = skipIgnored(a + 1);
        b = skipIgnored(b + 1);
    }
    return weightAt(a) - weightAt(b);
}

int32_t qelCompareText(const char* a, const char* b)
{
    auto* x = reinterpret_cast<const unsigned char*>(a);
    auto* y = reinterpret_cast<const unsigned char*>(b);
    while (*x && *x == *y) {
        ++x;
        ++y;
    }
    return *x < *y ? -1 : (*x > *y ? 1 : 0);
}
