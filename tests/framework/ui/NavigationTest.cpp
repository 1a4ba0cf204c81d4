// Going from form to form: the plain navigation with its list of forms left, and the navigation
// history with back, jumps, its size limit and the "GoBack" and "GoForward" controls.

#include "UiFixture.h"

#include "framework/runtime/Builtins.h"
#include "framework/runtime/Environment.h"
#include "framework/runtime/List.h"
#include "framework/runtime/Resource.h"
#include "framework/runtime/Table.h"
#include "framework/ui/ControlObject.h"
#include "framework/ui/FormObject.h"
#include "framework/ui/History.h"
#include "framework/ui/Navigation.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> calls;

// A form that records what navigation asks of it and gives back a history value of its own.
class RecordingForm : public qelFormObject {
public:
    using qelFormObject::qelFormObject;
    void open(const qelValue& data) override
    {
        calls.push_back("open " + std::string(qelCString(name)) + " " + qelCString(qelValueToString(data)));
        qelFormObject::open(data);
    }
    void afterOpen() override { calls.push_back("after " + std::string(qelCString(name))); }
    void reenter(const qelValue& data) override { calls.push_back("reenter " + std::string(qelCString(name))); }
    void close() override
    {
        calls.push_back("close " + std::string(qelCString(name)));
        qelFormObject::close();
    }
    qelValue historyText() override { return qelGet(properties, "Texto"); }
};

struct Forms : UiFixture {
    Forms()
    {
        calls.clear();
        for (const char* name : { "A", "B", "C" })
            add(name, "");
        add("Oculto", "(\"Include In History\" false)");
    }
    // A recording form registered under its name; its history value is "<name>-texto".
    void add(const char* name, const std::string& extra)
    {
        std::string text = std::string("(table (\"Texto\" \"") + name + "-texto\") " + extra
            + " (\"Resource Table\" (table"
              " (\"GoBack\" (control (\"Class\" \"HotSpot\")))"
              " (\"GoForward\" (control (\"Class\" \"HotSpot\")))"
              " (\"Control List\" (list (reference \"GoBack\") (reference \"GoForward\"))))))";
        auto* form = new RecordingForm(UiFixture::read(text.c_str()));
        form->name = qelStringValue(name);
        environment->setGlobal(name, qelFormValue(form));
    }
    std::string current() { return qelCString(qelFormOf(qelActiveForm())->name); }
    bool disabled(const char* button) { return qelIsTrue(qelGet(qelLoadResource(button), "Disabled")); }
    int32_t count() { return qelCount(qelGet(qelHistoryTable(), "List")); }
    int32_t index() { return qelIntValue(qelGet(qelHistoryTable(), "Index")); }
};

} // namespace

TEST(Navigation, PlainNavigationRecordsTheFormsLeft)
{
    Forms ui;
    qelGoToForm("A", "dados");
    qelGoToForm("A", qelNil);
    qelGoToForm("Oculto", qelNil);
    qelGoToForm("B", qelNil);
    EXPECT_EQ(calls,
        (std::vector<std::string> { "open A dados", "after A", "reenter A", "close A", "open Oculto QEL_NIL",
            "after Oculto", "close Oculto", "open B QEL_NIL", "after B" }));
    // A was left twice with the same value (once by re-entering): one entry; Oculto never.
    qelListObject* history = qelListObjectOf(ui.environment->history);
    ASSERT_EQ(history->count, 1);
    EXPECT_TRUE(qelGet(history->elementAt(0), 0) == "A");
    EXPECT_TRUE(qelGet(history->elementAt(0), 1) == "A-texto");

    // A form value is used as it is.
    qelValue direct = qelLoadResource("C");
    qelGoToFormEx(direct, qelNil, 0);
    EXPECT_TRUE(qelActiveForm() == direct);
    EXPECT_EQ(history->count, 1);

    // A name that names no form: the error, and no current form.
    qelGoToForm("Nenhum", qelNil);
    EXPECT_EQ(recordedErrors(), (std::vector<std::string> { "Cannot find form named 'Nenhum'" }));
    EXPECT_TRUE(qelActiveForm().isNil());
}

TEST(History, BackRestoresTheFormLeftWithItsValue)
{
    Forms ui;
    // A fresh history: nothing to go back to, both buttons disabled.
    EXPECT_EQ(ui.index(), -1);
    EXPECT_EQ(qelHistoryCanGoBack(1), 0);
    qelHistoryGoTo("A", qelNil);
    EXPECT_TRUE(ui.disabled("GoBack"));
    EXPECT_TRUE(ui.disabled("GoForward"));
    qelHistoryGo(1, 1);
    EXPECT_EQ(ui.current(), "A");

    qelHistoryGoTo("B", qelNil);
    EXPECT_EQ(ui.count(), 1);
    EXPECT_EQ(ui.index(), 1);
    EXPECT_FALSE(ui.disabled("GoBack"));
    calls.clear();
    qelHistoryGo(1, 1);
    EXPECT_EQ(calls, (std::vector<std::string> { "close B", "open A A-texto", "after A" }));
    EXPECT_EQ(ui.count(), 0);
    EXPECT_EQ(ui.index(), 0);
    EXPECT_TRUE(ui.disabled("GoBack"));

    // Steps below 1 are refused; a jump outside the list does nothing.
    EXPECT_EQ(qelHistoryCanGoBack(0), 0);
    EXPECT_EQ(qelHistoryCanGoBack(-1), 0);
    qelHistoryGoToEntry(5);
    EXPECT_EQ(ui.current(), "A");
}

TEST(History, ExcludedFormsAndRepeatsAreNotRecordedButButtonsFollow)
{
    Forms ui;
    qelHistoryGoTo("A", qelNil);
    qelHistoryGoTo("Oculto", qelNil);
    qelHistoryGoTo("A", qelNil);
    EXPECT_EQ(ui.count(), 1);
    EXPECT_FALSE(ui.disabled("GoBack"));
    // Re-entering the current form records it unless it is the last entry already.
    calls.clear();
    qelHistoryGoTo("A", qelNil);
    EXPECT_EQ(calls, (std::vector<std::string> { "reenter A" }));
    EXPECT_EQ(ui.count(), 1);

    // Going back without truncating leaves forward entries, which the next push drops.
    qelHistoryGoTo("B", qelNil);
    qelHistoryGoTo("C", qelNil);
    EXPECT_EQ(ui.count(), 2);
    qelHistoryGo(2, 0);
    EXPECT_EQ(ui.current(), "A");
    EXPECT_EQ(ui.index(), 0);
    EXPECT_EQ(qelHistoryCanGoForward(), 1);
    EXPECT_FALSE(ui.disabled("GoForward"));
    qelHistoryGoTo("C", qelNil);
    EXPECT_EQ(ui.count(), 2);
    EXPECT_EQ(ui.index(), 2);
    EXPECT_EQ(qelHistoryCanGoForward(), 0);
    EXPECT_TRUE(ui.disabled("GoForward"));
}

TEST(History, KeepsTheLast200Entries)
{
    Forms ui;
    for (int i = 0; i < 205; ++i)
        qelHistoryPush("A", i);
    EXPECT_EQ(ui.count(), 200);
    EXPECT_EQ(ui.index(), 200);
    qelValue list = qelGet(qelHistoryTable(), "List");
    EXPECT_TRUE(qelGet(qelGet(list, 0), 1) == 5);
    EXPECT_TRUE(qelGet(qelGet(list, 199), 1) == 204);

    // The recorded value is a copy: changing the original later changes nothing.
    qelValue value = qelListOf({ 1 });
    qelHistoryPush("B", value);
    qelPut(value, 0, 2);
    EXPECT_TRUE(qelGet(qelGet(qelGet(qelGet(qelHistoryTable(), "List"), 199), 1), 0) == 1);
}
