#pragma once

// PrintSetupDialog: where a print goes. The printer is the PDF writer, so the set-up asks for a
// folder and a file name, proposing the file the job would write by default; OK (or Enter in a
// field) takes them, Cancel (or Escape) cancels. It is drawn by the framework itself, without
// pictures: a grey panel with a title band, two text fields and two buttons, centred in the media
// area.
//
// qelInstallPrintSetupDialog makes it the printing layer's chooser, and tells the user in a
// message box where each finished job's file is.

#include "framework/ui/DialogObject.h"

#include <optional>
#include <string>

class PrintSetupDialog : public qelDialogObject {
public:
    // The proposed output: a UTF-8 path of a PDF file.
    explicit PrintSetupDialog(const std::string& proposed);
    ~PrintSetupDialog() override;

    const char* className() const override { return "PrintSetupDialog"; }
    void draw() override;
    // OK, Enter in a field: the choice is taken when the file name is usable; Cancel ends.
    void handleControl(const qelValue& control) override;
    // The chosen path as a UTF-8 string value, or nil when cancelled.
    qelValue result() override { return chosen; }

    // Runs the dialog modally; the chosen path, or nothing when the user cancels.
    static std::optional<std::string> choose(const std::string& proposed);

    qelValue chosen;

private:
    // The folder joined with the file name (".pdf" added when missing); nil when the name is
    // empty or holds a separator.
    qelValue chosenPath();
};

void qelInstallPrintSetupDialog();
