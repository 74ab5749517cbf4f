#pragma once
// Real PDF files for the export's tests: written with Qt's PDF writer, one
// text per page, and read back with Qt PDF.
#include <string>
#include <vector>

namespace exporttest {

// Writes a PDF whose pages show `pageTexts`, one each.
void writePdf(const std::string& path, const std::vector<std::string>& pageTexts);

// The text of each page, trimmed; an empty list (and a test failure) when
// the file is no readable PDF.
std::vector<std::string> pdfPageTexts(const std::string& path);

}  // namespace exporttest
