#pragma once
// One PDF made of the pages of others, in the order they are appended: the
// pages are copied as they are (text stays text, fonts stay embedded).
#include <memory>
#include <string>

namespace pdf {

class PdfJoin {
public:
    PdfJoin();
    ~PdfJoin();
    PdfJoin(const PdfJoin&) = delete;
    PdfJoin& operator=(const PdfJoin&) = delete;

    // Appends pages `first` to `last` (1-based, inclusive; `last` 0: to the
    // end) of the PDF file `path` and returns how many. AutomationError 1004
    // naming the file when it is no readable PDF or the range lies outside
    // it; nothing is appended then. The file is read again when written: it
    // must stay until write().
    int append(const std::string& path, int first = 1, int last = 0);

    int pageCount() const;

    // Writes the joined pages to `path`: a temporary file beside it, renamed
    // over it once whole, so `path` is never half written. AutomationError
    // 1004 with the reason when it cannot be written.
    void write(const std::string& path);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// The number of pages of the PDF file `path`; AutomationError 1004 when it
// is no readable PDF.
int PdfPageCount(const std::string& path);

}  // namespace pdf
