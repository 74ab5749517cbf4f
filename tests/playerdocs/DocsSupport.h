#pragma once
// What the document-line tests share: Qt made ready, PDF files written and
// read back, LibreOffice found, and Presentations with document lines.
#include <string>
#include <vector>

#include "player/PlayerFixture.h"

namespace docstest {

// One QApplication for the program (offscreen under CTest).
void ensureQtApplication();

// A PDF of one page per text, each text drawn large on its page.
void writeTextPdf(const std::string& path, const std::vector<std::string>& pageTexts);
// The text of pages first..last (1-based) of a PDF, one entry per page,
// read with Qt PDF.
std::vector<std::string> pdfPageTexts(const std::string& path, int first, int last);

// LibreOffice's soffice, or "" when it is not installed.
std::string libreOffice();

// A stand-in for LibreOffice: a shell script that runs `body` with the
// arguments LibreOffice would get ($outdir and $input are set from them).
std::string fakeLayoutProgram(const std::string& folder, const std::string& body);

class DocumentLineTest : public playertest::PlayerTest {
protected:
    DocumentLineTest();
    // The samples' document lines, group "Docs": report.doc pages 2 to 3,
    // deck.ppt slides 2 to 6, memo.doc whole, a three-page PDF, a text file.
    std::string docsPresentation();
};

}  // namespace docstest
