// Page counts of Word documents and slide counts of PowerPoint presentations
// read from real files: written by another suite (no summary counts) and by
// Word and PowerPoint themselves; and what the engine does when a count is
// missing, disagrees, or the file is damaged.
#include <gtest/gtest.h>

#include <algorithm>

#include "automation/AutomationError.h"
#include "office/cfb/CompoundFile.h"
#include "office/doc/WordPages.h"
#include "office/ole/PropertySet.h"
#include "office/ppt/SlideList.h"
#include "support/TestSupport.h"
#include "DocumentTestSupport.h"

namespace {

using office::doc::PageCountSource;
using namespace doctest;

struct WordCase {
    const char* file;
    bool shared;  // a reference file from ../shared/samples/reference
    long pages;
    PageCountSource source;
};

const WordCase kWordCases[] = {
    {"memo.doc", false, 1, PageCountSource::DocumentProperties},
    {"report.doc", false, 5, PageCountSource::DocumentProperties},
    {"long.doc", false, 100, PageCountSource::DocumentProperties},
    {"reference/tika_testWORD.doc", true, 2, PageCountSource::SummaryInformation},
};

TEST(WordPages, RealDocumentsGiveTheCountTheirWriterRecorded) {
    for (const WordCase& c : kWordCases) {
        SCOPED_TRACE(c.file);
        const auto path = c.shared ? testsupport::sharedSample(c.file) : testsupport::testData(c.file);
        if (!std::filesystem::exists(path)) GTEST_SKIP() << "no " << path;
        const office::doc::WordPages pages = office::doc::readWordPagesFile(path.string());
        EXPECT_EQ(pages.count, c.pages);
        EXPECT_EQ(pages.source, c.source);
        // The starts rise with the page and stay inside the text.
        for (long page = 2; page <= pages.count; ++page) EXPECT_LT(pages.pageStart(page - 1), pages.pageStart(page));
        EXPECT_LE(pages.pageStart(pages.count), pages.textLength);
    }
}

TEST(WordPages, TheSummaryCountComesBeforeTheDocumentPropertiesAndTheseBeforeTheEstimate) {
    const auto path = testsupport::sharedSample("reference/tika_testWORD.doc");
    if (!std::filesystem::exists(path)) GTEST_SKIP();
    office::cfb::Node root = office::cfb::readCompoundFile(testsupport::readFileBytes(path));

    setDopPageCount(root, 9);
    EXPECT_EQ(office::doc::readWordPages(office::cfb::writeCompoundFile(root)).count, 2) << "Word's summary count";

    root.children.erase(std::find_if(root.children.begin(), root.children.end(),
                                     [](const auto& n) { return n.name == office::ole::kSummaryStream; }));
    auto kept = office::doc::readWordPages(office::cfb::writeCompoundFile(root));
    EXPECT_EQ(kept.count, 9);
    EXPECT_EQ(kept.source, PageCountSource::DocumentProperties);

    setDopPageCount(root, 0);
    auto estimated = office::doc::readWordPages(office::cfb::writeCompoundFile(root));
    EXPECT_EQ(estimated.source, PageCountSource::Estimate);
    EXPECT_GE(estimated.count, 1);
}

TEST(WordPages, ADamagedSummaryStreamFallsBackToTheDocumentProperties) {
    const auto path = testsupport::sharedSample("reference/tika_testWORD.doc");
    if (!std::filesystem::exists(path)) GTEST_SKIP();
    office::cfb::Node root = office::cfb::readCompoundFile(testsupport::readFileBytes(path));
    auto& summary = root.child(office::ole::kSummaryStream)->data;
    summary.resize(40);  // the section list points past the end now
    EXPECT_THROW(office::ole::readPropertySetStream(summary), automation::AutomationError);
    auto pages = office::doc::readWordPages(office::cfb::writeCompoundFile(root));
    EXPECT_EQ(pages.count, 2);
    EXPECT_EQ(pages.source, PageCountSource::DocumentProperties);
}

TEST(WordPages, TheEstimateLaysTextOutOnCommonPages) {
    using office::doc::estimatePages;
    EXPECT_EQ(estimatePages(u""), 1);
    EXPECT_EQ(estimatePages(std::u16string(46, u'\r')), 1) << "46 lines fill one page";
    EXPECT_EQ(estimatePages(std::u16string(47, u'\r')), 2);
    EXPECT_EQ(estimatePages(std::u16string(90 * 46, u'x') + u'\r'), 1) << "a paragraph wraps every 90 characters";
    EXPECT_EQ(estimatePages(std::u16string(90 * 46 + 1, u'x') + u'\r'), 2);
    EXPECT_EQ(estimatePages(u"one\fTwo\fthree\r"), 3) << "page breaks start pages";
    EXPECT_EQ(estimatePages(u"a\r\f"), 2) << "a final break leaves an empty last page";
}

TEST(WordPages, WithoutARecordedCountTheEstimateFollowsTheParagraphsThatStartPages) {
    // Another suite's documents keep their page breaks as paragraph formatting.
    for (const auto& [file, pages] : {std::pair{"memo.doc", 1L}, {"report.doc", 5L}, {"long.doc", 100L}}) {
        SCOPED_TRACE(file);
        office::cfb::Node root = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData(file)));
        setDopPageCount(root, 0);
        const auto estimated = office::doc::readWordPages(office::cfb::writeCompoundFile(root));
        EXPECT_EQ(estimated.source, PageCountSource::Estimate);
        EXPECT_EQ(estimated.count, pages);
        EXPECT_EQ(estimated.breakStarts.size(), static_cast<std::size_t>(pages - 1)) << "the starts are the real breaks";
    }
    EXPECT_EQ(office::doc::estimatePages(u"a\rb\rc\r", {2, 4}), 3);
    EXPECT_EQ(office::doc::estimatePages(u"a\r\fb\r", {3}), 2) << "a break character and a break before count once";
}

TEST(WordPages, PageStartsFollowHardBreaksOrSpreadEvenly) {
    office::doc::WordPages pages;
    pages.count = 3;
    office::doc::setPageBreaks(pages, u"ab\fcd\fef\r");
    EXPECT_EQ(pages.pageStart(1), 0);
    EXPECT_EQ(pages.pageStart(2), 3);
    EXPECT_EQ(pages.pageStart(3), 6);
    EXPECT_EQ(pages.pageStart(4), 6) << "past the last page is the last page";
    EXPECT_EQ(pages.pageStart(0), 0);

    pages.count = 4;  // the breaks do not match: spread over the nine characters
    office::doc::setPageBreaks(pages, u"ab\fcd\fef\r");
    EXPECT_EQ((std::vector<long>{pages.pageStart(1), pages.pageStart(2), pages.pageStart(3), pages.pageStart(4)}),
              (std::vector<long>{0, 2, 4, 6}));
    pages.count = 20;  // more pages than characters: one position each
    EXPECT_EQ(pages.pageStart(20), 19);
}

struct SlideCase {
    const char* file;
    bool shared;
    long slides;
    std::optional<long> recorded;
};

const SlideCase kSlideCases[] = {
    {"deck.ppt", false, 7, std::nullopt},
    {"long.ppt", true, 100, std::nullopt},
    {"reference/poi_basic_test_ppt_file.ppt", true, 2, 2},
    {"reference/tika_testPPT.ppt", true, 1, 1},
};

TEST(PresentationSlides, RealPresentationsCountTheirSlideList) {
    for (const SlideCase& c : kSlideCases) {
        SCOPED_TRACE(c.file);
        const auto path = c.shared ? testsupport::sharedSample(c.file) : testsupport::testData(c.file);
        if (!std::filesystem::exists(path)) GTEST_SKIP() << "no " << path;
        const auto slides = office::ppt::readPresentationSlidesFile(path.string());
        EXPECT_EQ(slides.slides, c.slides);
        EXPECT_EQ(slides.recordedSlides, c.recorded);
    }
}

TEST(PresentationSlides, TheSlideListWinsOverADisagreeingRecordedCount) {
    const auto path = testsupport::sharedSample("reference/poi_basic_test_ppt_file.ppt");
    if (!std::filesystem::exists(path)) GTEST_SKIP();
    office::cfb::Node root = office::cfb::readCompoundFile(testsupport::readFileBytes(path));
    setProperty(root.child(office::ole::kDocumentSummaryStream)->data, office::ole::pid::kSlideCount, 5);
    const auto slides = office::ppt::readPresentationSlides(office::cfb::writeCompoundFile(root));
    EXPECT_EQ(slides.slides, 2);
    EXPECT_EQ(slides.recordedSlides, 5);
}

TEST(PropertySets, WordsSummaryInformationReadsWhole) {
    const auto path = testsupport::sharedSample("reference/tika_testWORD.doc");
    if (!std::filesystem::exists(path)) GTEST_SKIP();
    const auto root = office::cfb::readCompoundFile(testsupport::readFileBytes(path));
    const auto set = office::ole::readPropertySetStream(root.child(office::ole::kSummaryStream)->data);
    const auto* summary = set.section(office::ole::summaryInformationId());
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->text(office::ole::pid::kAppName), "Microsoft Office Word");
    EXPECT_EQ(summary->text(office::ole::pid::kTitle), "Sample Word Document");
    EXPECT_EQ(summary->integer(office::ole::pid::kPageCount), 2);
    EXPECT_EQ(summary->integer(office::ole::pid::kWordCount), 122);
    EXPECT_EQ(summary->integer(office::ole::pid::kTitle), std::nullopt) << "a text is no number";
}

}  // namespace

namespace {

// True when `read` gives a count; fails the test for anything but a
// described AutomationError.
template <typename Read>
bool countsOrFailsCleanly(Read&& read) {
    try {
        read();
        return true;
    } catch (const automation::AutomationError& e) {
        EXPECT_FALSE(e.description().empty());
        return false;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected exception: " << e.what();
        return false;
    }
}

struct StreamCase {
    const char* file;
    const char* stream;
};

// Every stream the readers look into, cut short at many lengths and with
// bytes overwritten: each file either still counts or fails with a message.
TEST(DocumentDamage, CutAndScrambledStreamsFailCleanly) {
    const StreamCase cases[] = {
        {"report.doc", "WordDocument"}, {"report.doc", "1Table"}, {"long.doc", "1Table"},
        {"deck.ppt", "PowerPoint Document"}, {"deck.ppt", "Current User"},
        {"deck.ppt", "\005DocumentSummaryInformation"}, {"memo.doc", "\005SummaryInformation"},
    };
    std::uint32_t seed = 12345;
    const auto next = [&] { return seed = seed * 1103515245 + 12345; };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.stream);
        auto original = office::cfb::readCompoundFile(testsupport::readFileBytes(testsupport::testData(c.file)));
        const bool isWord = std::string(c.file).ends_with(".doc");
        // The presentation's large thumbnail stream plays no part: leave it out for speed.
        if (!isWord) std::erase_if(original.children, [](const auto& n) { return n.name == office::ole::kSummaryStream; });
        const auto count = [&](const office::cfb::Node& root) {
            const auto bytes = office::cfb::writeCompoundFile(root);
            return countsOrFailsCleanly([&] {
                if (isWord) office::doc::readWordPages(bytes);
                else office::ppt::readPresentationSlides(bytes);
            });
        };
        const std::size_t size = original.child(c.stream)->data.size();
        int failures = 0, runs = 0;
        for (std::size_t length = 0; length < size; length += 1 + length / 16, ++runs) {
            auto root = original;
            root.child(c.stream)->data.resize(length);
            failures += !count(root);
        }
        for (int k = 0; k < 100; ++k, ++runs) {
            auto root = original;
            auto& data = root.child(c.stream)->data;
            for (int bytes = 0; bytes < 4; ++bytes) data[next() % data.size()] = static_cast<std::uint8_t>(next() >> 24);
            failures += !count(root);
        }
        EXPECT_LT(failures, runs) << "some damage is harmless";
    }
}

}  // namespace
