#include "app/PlayerPrinter.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <cstdlib>

#include "app/FrozenSheet.h"
#include "automation/AutomationError.h"
#include "render/SheetPages.h"

namespace app {

PlayerPrinter::PlayerPrinter(core::Context& ctx, std::string presentationPath)
    : ctx_(ctx), path_(std::move(presentationPath)) {
    if (const char* pdf = std::getenv("TAVOLEX_PRINT_TO_PDF"); pdf && *pdf) toPdf_ = pdf;
}

bool PlayerPrinter::choosePrinter(const std::string&) {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (toPdf_.empty()) {
        // The choice of the last command is offered again.
        QPrintDialog dialog(printer_.get(), QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    chosenLayout_ = printer_->pageLayout();
    return true;
}

void PlayerPrinter::nextJobFile() {
    if (toPdf_.empty()) return;
    std::string file = toPdf_;
    if (++jobs_ > 1) {
        const auto dot = file.rfind(".pdf");
        file = (dot == std::string::npos ? file : file.substr(0, dot)) + "-" + std::to_string(jobs_) + ".pdf";
    }
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(QString::fromStdString(file));
}

void PlayerPrinter::printLine(const player::PresentationLine& line) {
    if (!printer_) return;  // no printer was chosen
    if (line.isSheet()) {
        printSheet(line);
        return;
    }
    printDocument(line);
}

void PlayerPrinter::printDocument(const player::PresentationLine& line) {
    bool printed = false;
    if (documents_) {
        nextJobFile();
        printer_->setDocName(QString::fromStdString(line.description));
        printer_->setPageLayout(chosenLayout_);
        try {
            printed = documents_(*printer_, line);
        } catch (const automation::AutomationError& error) {
            // Told and passed over, so the lines after it still print.
            ctx_.msgBox(line.description + "\r\r" + error.description());
            return;
        }
    }
    if (!printed)
        ctx_.msgBox(line.description + "\r\r" +
                    ctx_.tr("Word and PowerPoint lines are printed with LibreOffice, which this computer does not have.",
                            "Le righe Word e PowerPoint si stampano con LibreOffice, che questo computer non ha."));
}

void PlayerPrinter::printSheet(const player::PresentationLine& line) {
    const std::optional<FrozenSheet> sheet = ReadFrozenSheet(path_, line.outputSheet);
    if (!sheet) {
        ctx_.msgBox(line.description + "\r\r" + ctx_.tr("Has been deleted!!", "E' stato cancellato!!"));
        return;
    }
    nextJobFile();
    printer_->setDocName(QString::fromStdString(line.description));
    // A sheet without a paper of its own prints on the paper chosen, not on the last sheet's.
    printer_->setPageLayout(chosenLayout_);
    render::ApplyPageSetup(sheet->pageSetup, *printer_);
    QPainter painter;
    if (!painter.begin(printer_.get()))
        throw automation::AutomationError(automation::errnum::kApplicationDefined,
                                          "The printer could not be started: " +
                                              printer_->printerName().toStdString());
    render::PaintSheetPages(sheet->shown, sheet->pageSetup, painter, *printer_);
    painter.end();
}

}  // namespace app
