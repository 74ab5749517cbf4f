#include "app/LibreOfficePdfMaker.h"

#include <sys/stat.h>

#include <QPdfDocument>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/OutsideProgram.h"
#include "automation/AutomationError.h"
#include "office/doc/WordPages.h"
#include "office/ppt/SlideList.h"

namespace app {

namespace fs = std::filesystem;
using automation::AutomationError;
namespace errnum = automation::errnum;

namespace {

// What the engine counts in the document: Word's recorded pagination, the
// presentation's slides. 0 when it cannot tell.
long ownPageCount(const std::string& kind, const std::vector<std::uint8_t>& bytes) {
    try {
        if (kind == "DOC") return office::doc::readWordPages(bytes).count;
        if (kind == "PPT") return office::ppt::readPresentationSlides(bytes).slides;
    } catch (const AutomationError&) {
    }
    return 0;
}

// Hidden slides are laid out too: slide n of the line is then page n of the
// PDF, as the engine counts slides.
const char* const kSlidesToPdf = R"(pdf:impress_pdf_Export:{"ExportHiddenSlides":{"type":"boolean","value":"true"}})";

int pageOf(double page) { return static_cast<int>(std::lround(page)); }

std::string number(long n) { return std::to_string(n); }

}  // namespace

int PdfPageCount(const std::string& path) {
    QPdfDocument document;
    if (document.load(QString::fromStdString(path)) != QPdfDocument::Error::None) return 0;
    return std::max(0, static_cast<int>(document.pageCount()));
}

LibreOfficePdfMaker::LibreOfficePdfMaker(core::Context& ctx, std::string program, std::chrono::milliseconds timeLimit)
    : ctx_(ctx), program_(std::move(program)), timeLimit_(timeLimit) {}

player::PrivateFolder& LibreOfficePdfMaker::folder() {
    if (!folder_) folder_ = std::make_unique<player::PrivateFolder>();
    return *folder_;
}

std::optional<player::LinePages> LibreOfficePdfMaker::pagesOf(const player::PresentationFile& file,
                                                              const player::PresentationLine& line) {
    const std::string kind = line.kind();
    if (kind != "DOC" && kind != "PPT" && kind != "PDF") return std::nullopt;
    if (kind != "PDF" && program_.empty()) return std::nullopt;

    const std::string key = file.path() + '\n' + line.objectName;
    std::unique_lock lock(mutex_);
    settled_.wait(lock, [&] { return pending_.count(key) == 0; });
    auto found = laid_.find(key);
    if (found == laid_.end()) {
        // A document that could not be laid out is not tried again: the
        // same reason is told without waiting for LibreOffice once more.
        if (const auto failure = failed_.find(key); failure != failed_.end()) throw failure->second;
        lock.unlock();
        const Job job = jobOf(file, line);
        try {
            const Laid laid = layOut(job);
            keep(key, &laid, nullptr);
        } catch (const AutomationError& error) {
            keep(key, nullptr, &error);
            throw;
        }
        lock.lock();
        found = laid_.find(key);
    }
    Laid& laid = found->second;

    player::LinePages pages;
    pages.pdfPath = laid.pdfPath;
    pages.first = 1;
    pages.last = laid.pages;
    if (line.firstPage > 0) {
        pages.first = std::clamp(pageOf(line.firstPage), 1, laid.pages);
        pages.last = std::clamp(pageOf(line.lastPage), pages.first, laid.pages);
    }
    if (!laid.told && laid.ownPages > 0 && laid.ownPages != laid.pages) {
        const std::string own = number(laid.ownPages), here = number(laid.pages);
        const std::string from = number(pages.first), to = number(pages.last);
        if (kind == "PPT")
            pages.notice = ctx_.tr(
                "This presentation has " + own + " slides, but " + here +
                    " are shown here: slides " + from + " to " + to + " of this show are the line's.",
                "Questa presentazione ha " + own + " diapositive, ma qui ne sono mostrate " + here +
                    ": sono della riga le diapositive da " + from + " a " + to + ".");
        else
            pages.notice = ctx_.tr(
                "This document has " + own + " pages where it was written, but is laid out here in " + here +
                    " pages, which may differ: pages " + from + " to " + to + " of this layout are shown.",
                "Questo documento ha " + own + " pagine dove e' stato scritto, ma qui e' impaginato in " + here +
                    " pagine, che possono differire: sono mostrate le pagine da " + from + " a " + to +
                    " di questa impaginazione.");
    }
    laid.told = true;
    return pages;
}

LibreOfficePdfMaker::~LibreOfficePdfMaker() {
    stopping_ = true;
    if (background_.joinable()) background_.join();
}

void LibreOfficePdfMaker::keep(const std::string& key, const Laid* laid, const AutomationError* failure) {
    const std::lock_guard lock(mutex_);
    if (laid) laid_.emplace(key, *laid);
    if (failure) failed_.emplace(key, *failure);
    pending_.erase(key);
    settled_.notify_all();
}

void LibreOfficePdfMaker::prepare(const player::PresentationFile& file) {
    if (program_.empty() || background_.joinable()) return;
    std::vector<Job> jobs;
    for (const player::PresentationLine& line : file.lines()) {
        const std::string kind = line.kind();
        if ((kind != "DOC" && kind != "PPT") || line.objectName.empty()) continue;
        const std::string key = file.path() + '\n' + line.objectName;
        if (std::any_of(jobs.begin(), jobs.end(), [&](const Job& job) { return job.key == key; })) continue;
        try {
            jobs.push_back(jobOf(file, line));
        } catch (const AutomationError&) {
            continue;  // told when the line is shown
        }
    }
    {
        const std::lock_guard lock(mutex_);
        for (const Job& job : jobs) pending_.insert(job.key);
    }
    background_ = std::thread([this, jobs = std::move(jobs)] {
        for (const Job& job : jobs) {
            if (stopping_) {
                keep(job.key, nullptr, nullptr);
                continue;
            }
            try {
                const Laid laid = layOut(job);
                keep(job.key, &laid, nullptr);
            } catch (const AutomationError& error) {
                // Stopped by the player's end: nothing to remember.
                keep(job.key, nullptr, stopping_ ? nullptr : &error);
            }
        }
    });
}

LibreOfficePdfMaker::Job LibreOfficePdfMaker::jobOf(const player::PresentationFile& file,
                                                    const player::PresentationLine& line) {
    Job job;
    job.key = file.path() + '\n' + line.objectName;
    job.kind = line.kind();
    // AutomationError (9) when the Presentation has no object of that name.
    job.bytes = file.workbook()->Worksheets("DATA")->OLEObjects(line.objectName)->FileBytes();
    job.name = fs::path(line.fileName).filename().string();
    if (job.name.empty()) job.name = "object." + job.kind;
    job.subfolder = folder().newSubfolder();
    return job;
}

LibreOfficePdfMaker::Laid LibreOfficePdfMaker::layOut(const Job& job) {
    const std::string& kind = job.kind;
    const std::string& name = job.name;
    const std::string& subfolder = job.subfolder;
    const std::vector<std::uint8_t>& bytes = job.bytes;
    const std::string input = subfolder + "/" + name;
    player::PrivateFolder::writeFile(input, bytes);

    Laid laid;
    if (kind == "PDF") {
        laid.pdfPath = input;
        laid.pages = PdfPageCount(input);
        if (laid.pages <= 0)
            throw AutomationError(errnum::kApplicationDefined, "\"" + name + "\" is not a PDF document that can be read.");
        return laid;
    }
    laid.ownPages = ownPageCount(kind, bytes);

    const std::string output = subfolder + "/pdf";
    if (::mkdir(output.c_str(), 0700) != 0)
        throw AutomationError(errnum::kPathFileAccess, "\"" + output + "\" cannot be made: " + std::strerror(errno));
    // A profile of its own: LibreOffice would otherwise hand the work to a
    // LibreOffice the user has open, or wait for its lock.
    const std::string profile =
        QUrl::fromLocalFile(QString::fromStdString(folder().path() + "/libreoffice-profile")).toString().toStdString();
    const std::lock_guard oneAtATime(layoutRun_);
    const ProgramRun run = RunOutsideProgram(
        program_,
        {"-env:UserInstallation=" + profile, "--headless", "--invisible", "--norestore", "--nolockcheck", "--nodefault",
         "--convert-to", kind == "PPT" ? kSlidesToPdf : "pdf", "--outdir", output, input},
        timeLimit_, &stopping_);
    ++layouts_;
    const std::string what = "LibreOffice (" + program_ + ") ";
    if (!run.started)
        throw AutomationError(errnum::kCannotCreateObject, what + "could not be started to lay out \"" + name + "\".");
    if (run.cancelled)
        throw AutomationError(errnum::kApplicationDefined, "The layout of \"" + name + "\" was stopped.");
    if (run.timedOut)
        throw AutomationError(errnum::kApplicationDefined,
                              what + "did not lay out \"" + name + "\" within " +
                                  number(static_cast<long>(timeLimit_.count() / 1000)) + " seconds and was stopped.");
    laid.pdfPath = output + "/" + fs::path(name).stem().string() + ".pdf";
    laid.pages = fs::exists(laid.pdfPath) ? PdfPageCount(laid.pdfPath) : 0;
    if (laid.pages <= 0) {
        std::string reason = what + "could not lay out \"" + name + "\"";
        if (run.exitCode != 0) reason += " (exit status " + number(run.exitCode) + ")";
        if (!run.errorOutput.empty()) reason += ": " + run.errorOutput;
        throw AutomationError(errnum::kApplicationDefined, reason + ".");
    }
    ::chmod(laid.pdfPath.c_str(), 0600);
    return laid;
}

}  // namespace app
