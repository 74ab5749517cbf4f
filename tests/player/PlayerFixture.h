#pragma once
// Presentations written by the real build from the test samples, for the
// player to read and show.
#include <functional>
#include <string>
#include <vector>

#include "parts/PartsFixture.h"

namespace playertest {

using partstest::Row;

class PlayerTest : public partstest::PartsTest {
protected:
    PlayerTest();

    // A copy of a sample of tests/data in the data folder.
    std::string sample(const std::string& name);
    // A small text file in the data folder (a line of any other kind).
    std::string textFile(const std::string& name, const std::string& content);
    // Builds `group` from `rows` with the program's build (every message
    // acknowledged) and returns the Presentation's path.
    std::string buildPresentation(const std::vector<Row>& rows, const std::string& group,
                                  const std::string& version, const std::string& password = "");
    // Sheet lines Totals (listed) and Figures ("V"), a Word line, a
    // PowerPoint line of slides 2 to 3 ("P"), an "S" line and a text file
    // line, of group "Review", version "3.1", password "pw".
    std::string reviewPresentation();
    // Opens a Presentation for writing, lets `edit` change it with its
    // structure and "DATA" unprotected, and saves it.
    void editPresentation(const std::string& path, const std::string& password,
                          const std::function<void(automation::excel::Workbook&)>& edit);
    // Rows 2.. of "DATA" replaced by `count` sheet lines of one frozen sheet,
    // every `step`-th of them with exclusion `code`.
    void fillDataRows(automation::excel::Workbook& book, int count, const std::string& sheet, int step,
                      const std::string& code);
};

}  // namespace playertest
