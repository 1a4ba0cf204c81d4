#include "app/shell/MarkedText.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/ValuePrinter.h"

qelValue shownMarkedText(const qelValue& item, bool& marked)
{
    qelValue text = qelValueToString(item);
    marked = text.isString() && qelCount(text) >= 2 && qelCharAt(text, 0) == '*' && qelCharAt(text, 1) == '*';
    if (marked)
        text = qelRight(text, -2);
    return text;
}
