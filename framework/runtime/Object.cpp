#include "framework/runtime/Object.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <string>

namespace {
// Serial numbers wrap after 2^32 objects; a wrapped serial only costs hash collisions, since
// equality of objects is by identity.
uint32_t nextSerial = 0;
} // namespace

qelObject::qelObject()
    : m_serial(++nextSerial)
{
}

qelObject::~qelObject() = default;

int32_t qelObject::self() const
{
    return int32_t(m_serial);
}

qelValue qelObject::printString(int32_t typeCode, int32_t quoted) const
{
    std::string text = "<";
    text += qelTypeNameText(typeCode);
    text += quoted ? ">" : " object>";
    return qelStringValueN(text.data(), int32_t(text.size()));
}
