#include "player/PresentationExport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "automation/AutomationError.h"
#include "pdf/PdfJoin.h"
#include "player/OpenPresentation.h"
#include "player/PrivateFolder.h"

namespace player {

namespace fs = std::filesystem;
using automation::AutomationError;

namespace {

std::string lineName(const PresentationLine& line) {
    return "\"" + line.description + "\" (" + fs::path(line.fileName).filename().string() + ")";
}

bool pagedByMaker(const PresentationLine& line) {
    const std::string kind = line.kind();
    return kind == "DOC" || kind == "PPT" || kind == "PDF";
}

// Why `outPath` cannot take the export, before any work is done; "" when it can.
std::string unwritableReason(const std::string& outPath, const std::string& presentation) {
    if (outPath.empty()) return "no file name was given for the PDF.";
    const fs::path out(outPath);
    if (out.filename().empty()) return "\"" + outPath + "\" names a folder, not a file.";
    std::error_code error;
    if (fs::is_directory(out, error)) return "\"" + outPath + "\" is a folder.";
    if (fs::exists(out, error) && fs::equivalent(out, presentation, error))
        return "\"" + outPath + "\" is the Presentation itself, which is never overwritten.";
    const fs::path folder = out.parent_path().empty() ? fs::path(".") : out.parent_path();
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0)
        return "the folder \"" + folder.string() + "\" cannot be reached: " + std::strerror(errno) + ".";
    if (!S_ISDIR(info.st_mode)) return "\"" + folder.string() + "\" is not a folder.";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "the folder \"" + folder.string() + "\" cannot be written: " + std::strerror(errno) + ".";
    return "";
}

}  // namespace

ExportReport ExportPdf(const PresentationFile& file, const SheetPdfWriter& sheetPdf, LinePdfMaker& lines,
                       const std::string& outPath) {
    ExportReport report;
    if (const std::string why = unwritableReason(outPath, file.path()); !why.empty()) {
        report.problems.push_back("The PDF cannot be written: " + why);
        return report;
    }

    PrivateFolder folder;
    pdf::PdfJoin joined;
    int sheets = 0;
    bool printable = false;
    for (const PresentationLine& line : file.lines()) {
        if (!line.printed()) continue;
        if (!line.isSheet() && !pagedByMaker(line)) {
            report.notes.push_back(lineName(line) + " is not printable: print it with the 'Print' button of its "
                                                    "application.");
            continue;
        }
        printable = true;
        try {
            if (line.isSheet()) {
                if (!file.hasSheet(line.outputSheet))
                    throw AutomationError(automation::errnum::kSubscriptOutOfRange,
                                          "its sheet \"" + line.outputSheet + "\" has been deleted.");
                const std::string part = folder.path() + "/sheet-" + std::to_string(++sheets) + ".pdf";
                sheetPdf(file, line, part);
                joined.append(part);
            } else {
                const std::optional<LinePages> pages = lines.pagesOf(file, line);
                if (!pages)
                    throw AutomationError(automation::errnum::kApplicationDefined,
                                          "no layout program for its document is installed (LibreOffice).");
                if (!pages->notice.empty()) report.notes.push_back(lineName(line) + ": " + pages->notice);
                joined.append(pages->pdfPath, pages->first, pages->last);
            }
        } catch (const AutomationError& error) {
            report.problems.push_back(lineName(line) + " could not be exported: " + error.description());
        } catch (const std::exception& error) {
            // A drawing or layout library's own failure stays this line's.
            report.problems.push_back(lineName(line) + " could not be exported: " + error.what());
        }
    }

    if (joined.pageCount() == 0) {
        if (!printable) report.problems.push_back("The Presentation has no line to print.");
        report.problems.push_back("No PDF was written: no line could be exported.");
        return report;
    }
    try {
        joined.write(outPath);
    } catch (const AutomationError& error) {
        report.problems.push_back("The PDF cannot be written: " + error.description());
        return report;
    }
    report.pages = joined.pageCount();
    report.status = report.problems.empty() ? kExportWhole : kExportPartly;
    return report;
}

int ExportPresentationPdf(core::Context& ctx, const std::string& path, const std::string& outPath,
                          const SheetPdfWriter& sheetPdf, LinePdfMaker& lines, std::ostream& err) {
    ExportReport report;
    try {
        WithOpenPresentation(ctx.objects, path, [&](const PresentationFile& file) {
            report = ExportPdf(file, sheetPdf, lines, outPath);
        });
    } catch (const AutomationError& error) {
        report.problems.push_back(error.description());
    }
    for (const std::string& note : report.notes) err << "Tavolex: " << note << "\n";
    for (const std::string& problem : report.problems) err << "Tavolex: " << problem << "\n";
    if (report.status != kExportNothing)
        err << "Tavolex: " << report.pages << (report.pages == 1 ? " page" : " pages") << " written to \"" << outPath
            << "\".\n";
    return report.status;
}

}  // namespace player
