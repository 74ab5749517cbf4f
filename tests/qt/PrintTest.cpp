// Printing a form's picture: into a PDF file when tests ask, from a form on
// screen or one not shown.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "qt/QtTestSupport.h"
#include "qt/TestForms.h"
#include "support/TestSupport.h"
#include "ui/qt/QtWindowSystem.h"

namespace {

std::string firstBytes(const std::filesystem::path& file, std::size_t count) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

TEST(PrintForm, FormNotShownPrintsIntoThePdf) {
    testsupport::TempFolder folder;
    const auto pdf = folder.path() / "form.pdf";
    ui::qt::QtWindowSystem windows;
    windows.setPrintToPdf(pdf.string());
    qttest::SampleForm form;
    form.Label1.setCaption("Printed");
    ASSERT_TRUE(windows.printForm(form));
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GT(std::filesystem::file_size(pdf), 500u);
    EXPECT_EQ(firstBytes(pdf, 5), "%PDF-");
    EXPECT_FALSE(form.loaded());  // drawing it did not load it
}

TEST(PrintForm, HandlerPrintsTheFormOnScreen) {
    testsupport::TempFolder folder;
    const auto pdf = folder.path() / "shown form.pdf";
    ui::qt::QtWindowSystem windows;
    windows.setPrintToPdf(pdf.string());
    qttest::SampleForm form;
    bool printed = false;
    form.CommandButton1.onClick = [&] {
        printed = windows.printForm(form);
        form.Unload();
    };
    qttest::whenShown("SampleForm", [](QWidget& window) {
        QTest::mouseClick(&qttest::child<QPushButton>(window, "CommandButton1"), Qt::LeftButton);
    });
    windows.showModal(form);
    EXPECT_TRUE(printed);
    EXPECT_GT(std::filesystem::file_size(pdf), 500u);
}

TEST(PrintForm, EnvironmentNamesThePdfForScriptedRuns) {
    testsupport::TempFolder folder;
    const auto pdf = folder.path() / "from environment.pdf";
    qputenv("TAVOLEX_PRINT_TO_PDF", QByteArray::fromStdString(pdf.string()));
    ui::qt::QtWindowSystem windows;
    qunsetenv("TAVOLEX_PRINT_TO_PDF");
    qttest::SampleForm form;
    EXPECT_TRUE(windows.printForm(form));
    EXPECT_EQ(firstBytes(pdf, 5), "%PDF-");
}

TEST(PrintForm, UnwritablePdfReportsFailure) {
    testsupport::TempFolder folder;
    ui::qt::QtWindowSystem windows;
    windows.setPrintToPdf((folder.path() / "missing" / "form.pdf").string());
    qttest::SampleForm form;
    EXPECT_FALSE(windows.printForm(form));
}

}  // namespace
