#include "playerdocs/DocsSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPdfWriter>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/OutsideProgram.h"

namespace docstest {

namespace fs = std::filesystem;

namespace {

int argc = 1;
char name[] = "tests_player_docs";
char* argv[] = {name, nullptr};
std::unique_ptr<QApplication> application;

// The application goes when the tests end, before the program's static
// objects do: Qt's own are gone by then, and its end would crash.
class QtEnvironment : public testing::Environment {
public:
    void TearDown() override { application.reset(); }
};

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

void ensureQtApplication() {
    if (!QCoreApplication::instance()) application = std::make_unique<QApplication>(argc, argv);
}

void writeTextPdf(const std::string& path, const std::vector<std::string>& pageTexts) {
    ensureQtApplication();
    QPdfWriter writer(QString::fromStdString(path));
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(28);
    painter.setFont(font);
    for (std::size_t n = 0; n < pageTexts.size(); ++n) {
        if (n > 0) writer.newPage();
        painter.drawText(QRect(0, 0, writer.width(), writer.height() / 3), Qt::AlignCenter,
                         QString::fromStdString(pageTexts[n]));
    }
}

std::vector<std::string> pdfPageTexts(const std::string& path, int first, int last) {
    ensureQtApplication();
    QPdfDocument document;
    std::vector<std::string> texts;
    if (document.load(QString::fromStdString(path)) != QPdfDocument::Error::None) return texts;
    for (int page = first; page <= last && page <= document.pageCount(); ++page)
        texts.push_back(document.getAllText(page - 1).text().simplified().toStdString());
    return texts;
}

std::string libreOffice() { return app::FindProgram("soffice"); }

std::string fakeLayoutProgram(const std::string& folder, const std::string& body) {
    const std::string path = folder + "/fake-soffice";
    std::ofstream(path) << "#!/bin/sh\n"
                           "while [ $# -gt 1 ]; do\n"
                           "  if [ \"$1\" = --outdir ]; then outdir=$2; fi\n"
                           "  shift\n"
                           "done\n"
                           "input=$1\n"
                        << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

DocumentLineTest::DocumentLineTest() { ensureQtApplication(); }

std::string DocumentLineTest::docsPresentation() {
    const std::string pdf = (folder.path() / "handout.pdf").string();
    writeTextPdf(pdf, {"Handout one", "Handout two", "Handout three"});
    return buildPresentation({{1, "Docs", "", "The report", sample("report.doc"), "", "", "", 2, 3, 100},
                              {2, "Docs", "", "The deck", sample("deck.ppt"), "", "", "", 2, 6, 200},
                              {3, "Docs", "", "The memo", sample("memo.doc"), "", "", "", {}, {}, 300},
                              {4, "Docs", "", "The handout", pdf, "", "", "", {}, {}, 400},
                              {5, "Docs", "", "Notes", textFile("notes.txt", "n\n"), "", "", "", {}, {}, 500}},
                             "Docs", "1.0");
}

}  // namespace docstest
