#include "pdf/PdfJoin.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <span>
#include <vector>

#include "automation/AutomationError.h"
#include "office/engine/AtomicFile.h"

namespace pdf {

using automation::AutomationError;

namespace {

AutomationError unreadable(const std::string& path, const std::string& why) {
    return AutomationError(automation::errnum::kApplicationDefined, "\"" + path + "\" is no readable PDF: " + why, path);
}

// qpdf reports damage it mends on standard error unless told not to; the
// caller reports what matters in its own words.
std::unique_ptr<QPDF> openPdf(const std::string& path) {
    auto document = std::make_unique<QPDF>();
    document->setSuppressWarnings(true);
    try {
        document->processFile(path.c_str());
    } catch (const std::exception& error) {
        throw unreadable(path, error.what());
    }
    return document;
}

}  // namespace

// The sources stay open: qpdf copies their page streams only when it writes.
struct PdfJoin::Parts {
    QPDF joined;
    std::vector<std::unique_ptr<QPDF>> sources;
    int pages = 0;
};

PdfJoin::PdfJoin() : parts_(std::make_unique<Parts>()) {
    parts_->joined.setSuppressWarnings(true);
    parts_->joined.emptyPDF();
}

PdfJoin::~PdfJoin() = default;

int PdfJoin::append(const std::string& path, int first, int last) {
    auto source = openPdf(path);
    std::vector<QPDFPageObjectHelper> pages;
    try {
        pages = QPDFPageDocumentHelper(*source).getAllPages();
    } catch (const std::exception& error) {
        throw unreadable(path, error.what());
    }
    const int count = static_cast<int>(pages.size());
    if (last == 0) last = count;
    if (first < 1 || first > last || last > count)
        throw AutomationError(automation::errnum::kApplicationDefined,
                              "\"" + path + "\" has " + std::to_string(count) + " pages, not pages " +
                                  std::to_string(first) + " to " + std::to_string(last) + ".",
                              path);
    QPDFPageDocumentHelper target(parts_->joined);
    try {
        for (int page = first; page <= last; ++page) target.addPage(pages[static_cast<std::size_t>(page - 1)], false);
    } catch (const std::exception& error) {
        throw unreadable(path, error.what());
    }
    parts_->sources.push_back(std::move(source));
    parts_->pages += last - first + 1;
    return last - first + 1;
}

int PdfJoin::pageCount() const { return parts_->pages; }

void PdfJoin::write(const std::string& path) {
    std::shared_ptr<Buffer> bytes;
    try {
        QPDFWriter writer(parts_->joined);
        writer.setOutputMemory();
        // Compressed streams and object streams keep the joined file small.
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.write();
        bytes = writer.getBufferSharedPointer();
    } catch (const std::exception& error) {
        throw AutomationError(automation::errnum::kApplicationDefined,
                              "\"" + path + "\" cannot be written: " + error.what(), path);
    }
    office::engine::writeFileAtomically(path, std::span<const std::uint8_t>(bytes->getBuffer(), bytes->getSize()));
}

int PdfPageCount(const std::string& path) {
    auto document = openPdf(path);
    try {
        return static_cast<int>(QPDFPageDocumentHelper(*document).getAllPages().size());
    } catch (const std::exception& error) {
        throw unreadable(path, error.what());
    }
}

}  // namespace pdf
