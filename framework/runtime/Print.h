#pragma once

// Printing: the one print job of the process. While a job runs, the main port draws into the
// printer's page instead of its offscreen buffer, so pages are drawn with the ordinary drawing
// operations between qelStartPage and qelEndPage.
//
// The printer is the platform's PDF printer: driver "PDF", device "PDF Printer", and as port the
// output, a folder or a ".pdf" file. The default printer's port is the folder named by the
// setting "PrintFolder", else the user folder; a job printed to a folder writes
// "<document name>.pdf" there ("<document name> (2).pdf" and so on when that file exists). The
// print set-up chooses the output through its chooser (tests script it; without a chooser the
// choice stays). Like a printer that writes to a file, the PDF printer also asks through the
// chooser where a job goes when it starts, unless the set-up named a file: the user who cancels
// that question cancels the job, silently. Pages are A4 at 288 dots per inch.
//
// Every refusal or failure is a message box with a numbered message and a result of 0 (or -1);
// nothing here calls the error hook.

#include "framework/runtime/Value.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform::gfx {
class Dc;
}

struct qelPrintHooks {
    // Points the main port's drawing at the page's context; null points it back at the
    // offscreen buffer. The display layer installs it.
    void (*usePrinterContext)(platform::gfx::Dc* dc) = nullptr;
    // The print set-up: the output chosen from the current one (UTF-8 paths: the file a job
    // would write), nothing when the user cancels. Null keeps the current output.
    std::optional<std::string> (*chooseOutput)(const std::string& current) = nullptr;
    // Tells the user where an ended job's file is (UTF-8). Null tells nothing.
    void (*jobWritten)(const std::string& path) = nullptr;
};
qelPrintHooks& qelPrintHooksNow();

// The chosen printer; empty names before one is chosen.
struct qelPrinterChoice {
    std::string driverName;
    std::string deviceName;
    std::string portName;
};
const qelPrinterChoice& qelChosenPrinter();
int32_t qelIsPrinting();

int32_t qelUseDefaultPrinter();
int32_t qelPrintSetupDialog();
// Starts a job named by the setting "Print Document Name" (the application title by default).
int32_t qelBeginPrinting();
int32_t qelStartDocument(const qelValue& documentName);
// Ends or aborts the job (an aborted job leaves no file). The job's state ends either way.
void qelEndDocument();
void qelAbortDocument();
int32_t qelStartPage();
int32_t qelEndPage();
// Page size in pixels and resolution in dots per inch.
int32_t qelPrinterWidth();
int32_t qelPrinterHeight();
int32_t qelPrinterDpiX();
int32_t qelPrinterDpiY();

// The file the running job writes, or the last job wrote (UTF-8).
std::string qelPrintOutputPath();
// Ends a job without messages and forgets the chosen printer (shut-down, tests).
void qelResetPrinting();
