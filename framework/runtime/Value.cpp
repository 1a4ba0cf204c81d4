#include "framework/runtime/Value.h"
#include "framework/runtime/Collation.h"
#include "framework/runtime/StringObject.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

constinit const qelValue qelNil;
constinit const qelValue qelTrue = qelValue::immediate(QEL_BOOLEAN_TYPE, 1);
constinit const qelValue qelFalse = qelValue::immediate(QEL_BOOLEAN_TYPE, 0);

namespace {

uint32_t uniqueCounter = 0;
qelListRelation listRelation = nullptr;

// Clamps a wide difference into the 32-bit result range. INT32_MIN is left out so that the
// result can always be negated.
int32_t clampDifference(int64_t difference)
{
    if (difference > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (difference < std::numeric_limits<int32_t>::min() + 1)
        return std::numeric_limits<int32_t>::min() + 1;
    return int32_t(difference);
}

// A floating-point difference truncated toward zero, clamped to the 32-bit range (NaN gives 0).
int32_t truncatedDifference(double a, double b)
{
    double difference = std::trunc(a - b);
    if (std::isnan(difference))
        return 0;
    if (difference >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (difference <= -2147483647.0)
        return std::numeric_limits<int32_t>::min() + 1;
    return int32_t(difference);
}

bool isNumber(int32_t type)
{
    return type == QEL_INT_TYPE || type == QEL_FLOAT_TYPE;
}

double numberOf(const qelValue& value)
{
    return value.type() == QEL_INT_TYPE ? double(value.payload()) : double(value.floatPayload());
}

int32_t relation(const qelValue& a, const qelValue& b, bool collate)
{
    if (a.type() != b.type()) {
        if (isNumber(a.type()) && isNumber(b.type()))
            return truncatedDifference(numberOf(a), numberOf(b));
        return clampDifference(int64_t(a.type()) - int64_t(b.type()));
    }
    switch (a.type()) {
    case QEL_BOOLEAN_TYPE:
    case QEL_INT_TYPE:
        return clampDifference(int64_t(a.payload()) - int64_t(b.payload()));
    case QEL_FLOAT_TYPE: {
        float x = a.floatPayload();
        float y = b.floatPayload();
        if (collate)
            return truncatedDifference(x, y);
        return x > y ? 1 : (x < y ? -1 : 0);
    }
    case QEL_STRING_TYPE:
        if (collate)
            return qelCollateText(qelCString(a), qelCString(b));
        return qelCompareText(qelCString(a), qelCString(b));
    case QEL_LIST_TYPE:
        return listRelation ? listRelation(a, b, collate) : 0;
    default:
        return 0;
    }
}

const char* const typeNames[] = {
    "QEL_NIL",
    "unique",
    "boolean",
    "int",
    "float",
    nullptr,
    "string",
    "buffer",
    "list",
    "table",
    "stream",
    "region",
    "cursor",
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    "image",
    "sound",
    "movie",
};

} // namespace

qelValue::qelValue(const char* text)
{
    *this = qelStringValue(text);
}

bool qelValue::operator==(const qelValue& other) const
{
    if (m_type != other.m_type) {
        if (isNumber(m_type) && isNumber(other.m_type))
            return numberOf(*this) == numberOf(other);
        return false;
    }
    if (m_type == QEL_FLOAT_TYPE)
        return floatPayload() == other.floatPayload();
    if (m_type == QEL_STRING_TYPE)
        return std::strcmp(qelCString(*this), qelCString(other)) == 0;
    return m_payload == other.m_payload && m_object == other.m_object;
}

bool qelValue::operator==(int n) const
{
    return qelEqualsInt(n, *this);
}

bool qelValue::operator==(const char* text) const
{
    return m_type == QEL_STRING_TYPE && std::strcmp(qelCString(*this), text ? text : "") == 0;
}

qelValue qelMakeUnique()
{
    return qelValue::immediate(QEL_UNIQUE_TYPE, ++uniqueCounter);
}

const char* qelTypeNameText(int32_t code)
{
    if (code >= 0 && code < int32_t(std::size(typeNames)) && typeNames[code])
        return typeNames[code];
    return "application-defined";
}

qelValue qelTypeName(int32_t code)
{
    return qelStringValue(qelTypeNameText(code));
}

bool qelEqualsInt(int32_t n, const qelValue& value)
{
    if (value.type() == QEL_INT_TYPE)
        return value.payload() == n;
    if (value.type() == QEL_FLOAT_TYPE)
        return double(value.floatPayload()) == double(n);
    return false;
}

int32_t qelHash(const qelValue& value)
{
    if (value.type() >= QEL_FIRST_OBJECT_TYPE)
        return value.object() ? value.object()->self() : 0;
    int32_t payload = value.payload();
    // The absolute value; INT32_MIN has none in 32 bits and stays as it is (the table's home
    // slot rule handles a negative hash).
    if (payload < 0 && payload != std::numeric_limits<int32_t>::min())
        return -payload;
    return payload;
}

int32_t qelCompare(const qelValue& a, const qelValue& b)
{
    return relation(a, b, false);
}

int32_t qelCollate(const qelValue& a, const qelValue& b)
{
    return relation(a, b, true);
}

qelListRelation qelSetListRelation(qelListRelation newRelation)
{
    qelListRelation previous = listRelation;
    listRelation = newRelation;
    return previous;
}

void qelFreeCells(qelValue* cells, int32_t count)
{
    if (!cells)
        return;
    if (count < 0)
        count = 0;
#pragma GCC unroll 4
    for (int32_t i = 0; i < count; ++i)
        cells[i].~qelValue();
    qelFree(cells, sizeof(qelValue) * size_t(count));
}

qelValue* qelMoveCells(qelValue* cells, int32_t used, int32_t newCount)
{
    qelValue* fresh = qelNewCells(newCount);
    if (!fresh)
        return nullptr;
    if (used > newCount)
        used = newCount;
    for (int32_t i = 0; i < used; ++i)
        fresh[i] = std::move(cells[i]);
    return fresh;
}

qelValue* qelResizeCells(qelValue* cells, int32_t oldCount, int32_t used, int32_t newCount)
{
    qelValue* fresh = qelMoveCells(cells, std::min(used, oldCount), newCount);
    if (fresh)
        qelFreeCells(cells, oldCount);
    return fresh;
}
