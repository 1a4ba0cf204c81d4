#pragma once

// Stand-ins for the screens and dialogs a screen under test opens by name: they keep what they
// were opened with and answer at once, so a test sees what was asked without running them.

#include "framework/runtime/Builtins.h"
#include "framework/ui/MediaDialogObject.h"
#include "framework/ui/MediaFormObject.h"

namespace qel::test {

// A dialog that ends as soon as it opens, answering `answer`.
class StandInDialog : public qelMediaDialogObject {
public:
    void open(const qelValue& data) override
    {
        received = data;
        ++runs;
        done = 1;
    }
    void close() override { }
    qelValue result() override { return answer; }

    qelValue answer;
    qelValue received;
    int runs = 0;
};

// The same, keeping a copy of its data and answering a copy: for screens that change the table
// they opened it with, or the answer they get, after it ends.
class CopyingStandInDialog : public StandInDialog {
public:
    void open(const qelValue& data) override { StandInDialog::open(qelCopy(data)); }
    qelValue result() override { return qelCopy(answer); }
};

// A screen that only keeps what it was opened with.
class StandInScreen : public qelMediaFormObject {
public:
    void open(const qelValue& data) override
    {
        opened = data;
        ++opens;
    }
    void afterOpen() override { }
    void close() override { }

    qelValue opened;
    int opens = 0;
};

} // namespace qel::test
