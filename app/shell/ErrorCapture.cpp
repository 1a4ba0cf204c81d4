#include "app/shell/ErrorCapture.h"

#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

namespace {
ErrorCapture* innermost = nullptr;
}

ErrorCapture::ErrorCapture()
    : m_previous(qelSetErrorHook(&ErrorCapture::capture))
    , m_outer(innermost)
{
    innermost = this;
}

ErrorCapture::~ErrorCapture()
{
    innermost = m_outer;
    qelSetErrorHook(m_previous);
}

int ErrorCapture::capture(const qelValue& message)
{
    if (innermost && innermost->m_first.empty()) {
        const char* text = qelCString(message);
        // An empty message still counts as a failure.
        innermost->m_first = text && *text ? text : "?";
    }
    return 0;
}
