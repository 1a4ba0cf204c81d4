#pragma once

// Catches what the framework reports while the program reads one of the user's own files, so a
// damaged file can be set aside instead of ending the program through the error hook. While an
// ErrorCapture lives, every qelError message is kept here and answered with "go on"; the previous
// hook comes back when it goes out of scope. Captures nest.

#include "framework/runtime/Error.h"

#include <string>

class ErrorCapture {
public:
    ErrorCapture();
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    bool failed() const { return !m_first.empty(); }
    // The first message caught; empty when there was none.
    const std::string& firstMessage() const { return m_first; }

private:
    static int capture(const qelValue& message);

    std::string m_first;
    qelErrorHook m_previous;
    ErrorCapture* m_outer;
};
