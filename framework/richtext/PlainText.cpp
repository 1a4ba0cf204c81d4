#include "framework/richtext/PlainText.h"

#include "framework/richtext/RtfParser.h"
#include "framework/runtime/Builtins.h"
#include "framework/runtime/List.h"
#include "framework/runtime/StringObject.h"

#include <string>

qelValue qelPlainTextOfRuns(const qelValue& textRuns)
{
    std::string text;
    qelListObject* items = qelListObjectOf(textRuns);
    int32_t count = items && items->kind() == QEL_GENERAL_LIST ? items->count : 0;
    for (int32_t i = 0; i < count; ++i) {
        const qelValue& item = items->cell(i);
        if (item.type() == QEL_INT_TYPE) {
            if (item.payload() == QEL_RTF_PAR)
                text += '\n';
            else if (item.payload() == QEL_RTF_TAB)
                text += '\t';
            continue;
        }
        qelListObject* fields = qelListObjectOf(item);
        if (!fields || fields->kind() != QEL_GENERAL_LIST || fields->count < 2)
            continue;
        const qelValue& value = fields->cell(1);
        switch (fields->cell(0).payload()) {
        case QEL_RTF_TEXT:
        case QEL_RTF_LINK:
        case QEL_RTF_STRUCK:
        case QEL_RTF_STRUCK_LINK:
            if (value.isString())
                text.append(qelCString(value), size_t(qelCount(value)));
            break;
        case QEL_RTF_CHAR:
            if (value.type() == QEL_INT_TYPE)
                text += char(value.payload() & 0xFF);
            break;
        default:
            break;
        }
    }
    return qelStringValueN(text.data(), int32_t(text.size()));
}
