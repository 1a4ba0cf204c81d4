#include "framework/runtime/Object.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <string>

uint32_t qelLastObjectSerial = 0;

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
