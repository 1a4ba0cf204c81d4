#include "framework/runtime/Print.h"

#include "framework/runtime/ProgramEntry.h"
#include "framework/runtime/Settings.h"
#include "framework/runtime/StringObject.h"
#include "platform/print/PdfDocument.h"
#include "platform/sys/Cp1252.h"
#include "platform/sys/Folders.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace {

struct PrintJob {
    qelPrinterChoice printer;
    // The running job (the printer's device context); null when idle.
    std::unique_ptr<platform::print::PdfDocument> document;
    std::string documentName;
    std::string outputPath;
};

PrintJob& job()
{
    static PrintJob* state = new PrintJob;
    return *state;
}

int32_t refuse(const char* message, int32_t result = 0)
{
    qelMessageBox(qelStringValue(message));
    return result;
}

bool endsWithPdf(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return tail == ".pdf";
}

// The document name as a file name: separators and control characters become "_".
std::string fileNameOf(const std::string& documentName)
{
    std::string name;
    for (char c : documentName)
        name += (c == '/' || c == '\\' || uint8_t(c) < 0x20) ? '_' : c;
    if (name.empty() || name == "." || name == "..")
        name = "document";
    return name;
}

// The file a job writes: the port itself when it names a PDF file, else a new file in the port's
// folder.
std::string outputFor(const std::string& port, const std::string& documentName)
{
    if (endsWithPdf(port))
        return port;
    std::filesystem::path folder(port.empty() ? "." : port);
    std::string base = fileNameOf(documentName);
    std::filesystem::path candidate = folder / (base + ".pdf");
    std::error_code error;
    for (int n = 2; std::filesystem::exists(candidate, error) && n < 10000; ++n)
        candidate = folder / (base + " (" + std::to_string(n) + ").pdf");
    return candidate.string();
}

void usePrinterContext(platform::gfx::Dc* dc)
{
    if (auto hook = qelPrintHooksNow().usePrinterContext)
        hook(dc);
}

// Ends the job's drawing on the printer; the document is then ended or dropped by the caller.
std::unique_ptr<platform::print::PdfDocument> detachJob()
{
    usePrinterContext(nullptr);
    return std::move(job().document);
}

// The name of a job started by qelBeginPrinting.
std::string defaultDocumentName()
{
    qelValue name = qelGetSettingOr(qelStringValue("Print Document Name"), qelAppTitle());
    return platform::cp1252::toUtf8(name.isString() ? qelCString(name) : "");
}

int32_t capability(int32_t value, const char* noDefault)
{
    if (!qelIsPrinting() && job().printer.deviceName.empty() && !qelUseDefaultPrinter())
        return refuse(noDefault, -1);
    // The PDF printer's page is the same for the job and for an information context.
    return value;
}

} // namespace

qelPrintHooks& qelPrintHooksNow()
{
    static qelPrintHooks hooks;
    return hooks;
}

const qelPrinterChoice& qelChosenPrinter()
{
    return job().printer;
}

int32_t qelIsPrinting()
{
    return job().document ? 1 : 0;
}

int32_t qelUseDefaultPrinter()
{
    if (qelIsPrinting())
        return refuse("QEL printing error 1. Framework is currently printing.");
    qelValue folder = qelGetSetting(qelStringValue("PrintFolder"));
    std::string port = folder.isString() && qelCString(folder)[0] ? platform::cp1252::toUtf8(qelCString(folder))
                                                                  : platform::userFolder();
    job().printer = { "PDF", "PDF Printer", port };
    return 1;
}

int32_t qelPrintSetupDialog()
{
    if (qelIsPrinting())
        return refuse("QEL printing error 2. Framework is currently printing.");
    if (job().printer.deviceName.empty() && !qelUseDefaultPrinter())
        return 0;
    if (auto choose = qelPrintHooksNow().chooseOutput) {
        std::optional<std::string> chosen = choose(outputFor(job().printer.portName, defaultDocumentName()));
        if (!chosen)
            return 0;
        job().printer.portName = *chosen;
    }
    return 1;
}

int32_t qelBeginPrinting()
{
    return qelStartDocument(qelGetSettingOr(qelStringValue("Print Document Name"), qelAppTitle()));
}

int32_t qelStartDocument(const qelValue& documentName)
{
    PrintJob& j = job();
    if (qelIsPrinting())
        return refuse("QEL printing error 3. Framework is currently printing.");
    if (j.printer.deviceName.empty() && !qelUseDefaultPrinter() && !qelPrintSetupDialog())
        return 0;
    j.documentName = documentName.isString() ? qelCString(documentName) : "";
    std::string name = platform::cp1252::toUtf8(j.documentName);
    j.outputPath = outputFor(j.printer.portName, name);
    // The printer asks where this job goes unless the set-up named the file; a cancelled
    // question is the user's own cancel, which shows no message.
    if (auto choose = qelPrintHooksNow().chooseOutput; choose && !endsWithPdf(j.printer.portName)) {
        std::optional<std::string> chosen = choose(j.outputPath);
        if (!chosen)
            return 0;
        j.outputPath = *chosen;
    }
    j.document = platform::print::PdfDocument::create(j.outputPath, name);
    if (!j.document)
        return refuse("QEL printing error 5. Framework is unable to start print job.");
    usePrinterContext(&j.document->dc());
    return 1;
}

void qelEndDocument()
{
    if (!qelIsPrinting()) {
        refuse("QEL printing error 6. Framework is not currently printing.");
        return;
    }
    std::unique_ptr<platform::print::PdfDocument> document = detachJob();
    if (!document->end()) {
        refuse("QEL printing error 7. Framework is unable to end print job.");
        return;
    }
    if (auto tell = qelPrintHooksNow().jobWritten)
        tell(job().outputPath);
}

void qelAbortDocument()
{
    if (!qelIsPrinting()) {
        refuse("QEL printing error 6a. Framework is not currently printing.");
        return;
    }
    detachJob()->abort();
}

int32_t qelStartPage()
{
    if (!qelIsPrinting())
        return refuse("QEL printing error 10. Framework is not currently printing.");
    if (!job().document->startPage())
        return refuse("QEL printing error 11. Framework is unable to start printing page.");
    return 1;
}

int32_t qelEndPage()
{
    if (!qelIsPrinting())
        return refuse("QEL printing error 12. Framework is not currently printing.");
    if (!job().document->endPage())
        return refuse("QEL printing error 13. Framework is unable to end printing page.");
    return 1;
}

int32_t qelPrinterWidth()
{
    return capability(
        platform::print::PageFormat::width, "QEL printing error 14. Framework is unable to get printer information.");
}

int32_t qelPrinterHeight()
{
    return capability(platform::print::PageFormat::height,
        "QEL printing error 16. QEL printing error 14. Framework is unable to get printer information.");
}

int32_t qelPrinterDpiX()
{
    return capability(platform::print::PageFormat::dotsPerInch,
        "QEL printing error 22. Framework is unable to get printer information.");
}

int32_t qelPrinterDpiY()
{
    return capability(platform::print::PageFormat::dotsPerInch,
        "QEL printing error 24. Framework is unable to get printer information.");
}

std::string qelPrintOutputPath()
{
    return job().outputPath;
}

void qelResetPrinting()
{
    if (qelIsPrinting())
        detachJob()->abort();
    job() = PrintJob {};
}
