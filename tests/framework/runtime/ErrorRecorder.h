#pragma once

#include "framework/runtime/Error.h"
#include "framework/runtime/StringObject.h"
#include "framework/runtime/Value.h"

#include <string>
#include <vector>

// Installs error and fatal hooks that record what they are given and return, so a test can see
// the messages and the code path that goes on after them. Restores the previous hooks when it
// goes out of scope. One at a time.
class ErrorRecorder {
public:
    ErrorRecorder()
    {
        current = this;
        m_previousError = qelSetErrorHook(&recordError);
        m_previousFatal = qelSetFatalHook(&recordFatal);
    }
    ~ErrorRecorder()
    {
        qelSetErrorHook(m_previousError);
        qelSetFatalHook(m_previousFatal);
        current = nullptr;
    }
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    std::vector<std::string> messages;
    std::vector<int> fatalCodes;
    // What the error hook answers: nonzero asks qelError to call the fatal hook.
    int answer = 0;

private:
    static int recordError(const qelValue& message)
    {
        current->messages.emplace_back(qelCString(message));
        return current->answer;
    }
    static void recordFatal(int code) { current->fatalCodes.push_back(code); }

    static inline ErrorRecorder* current = nullptr;
    qelErrorHook m_previousError;
    qelFatalHook m_previousFatal;
};
