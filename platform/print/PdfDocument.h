#pragma once

// A print job written as a PDF file: pages are drawn through a PrintDc and each finished page
// becomes one PDF page of A4 size. The file is written under a temporary name and renamed into
// place when the job ends, so an aborted or failed job leaves no half-written file.

#include "platform/print/PrintDc.h"

#include <memory>
#include <string>

namespace platform::print {

class PdfDocument {
public:
    // Opens a job that will write `path` (UTF-8) with the title (UTF-8) in its information;
    // null when the file cannot be made.
    static std::unique_ptr<PdfDocument> create(const std::string& path, const std::string& title);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    PrintDc& dc() { return m_dc; }
    // A new white page; false when a page is already open.
    bool startPage();
    // Writes the open page; false when none is open or the PDF refuses it.
    bool endPage();
    // Completes the file and puts it in place; false when writing failed (nothing is left).
    bool end();
    // Drops the job and its file.
    void abort();

    int pagesWritten() const { return m_pages; }

private:
    PdfDocument() = default;

    struct Cairo;
    std::unique_ptr<Cairo> m_cairo;
    PrintDc m_dc;
    std::string m_path;
    std::string m_temporary;
    bool m_pageOpen = false;
    bool m_done = false;
    int m_pages = 0;
};

} // namespace platform::print
