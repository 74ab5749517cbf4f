#pragma once
// Where things are on the DATA sheet of the base workbook.
#include <array>

namespace store {

// Columns of a line row.
enum Column : long {
    kColId = 1,
    kColGroup = 2,
    kColExclusion = 3,
    kColDescription = 4,
    kColFileName = 5,
    kColInputSheet = 6,
    kColOutputSheet = 7,
    kColObjectName = 8,
    kColFirstPage = 9,
    kColLastPage = 10,
    kColSort = 11,
};

inline constexpr std::array<const char*, 11> kHeaderTexts = {
    "Pos.", "PresentationGroup", "Supp.", "Description", "FileName", "InpSheet",
    "OutSheet", "ObjName", "FirstPage", "LastPage", "Sort"};

// Lines start on row 2; readers look no further than this row.
inline constexpr long kFirstLineRow = 2;
inline constexpr long kLastLineRow = 9999;

// A Presentation's DATA sheet carries its settings text (subtitle, title,
// language, password) in L1, beside the header row.
inline constexpr long kSettingsRow = 1;
inline constexpr long kSettingsColumn = 12;

inline constexpr const char* kStartSheet = "START";
inline constexpr const char* kDataSheet = "DATA";

}  // namespace store
