#pragma once
// Carrying cell formats and pictures from one workbook into another: fonts,
// number formats, cell formats and the colours they name, and entries of the
// picture store. Each maps to an equal entry of the target, added when none
// exists yet; within one workbook everything maps to itself.
#include <cstdint>
#include <map>
#include <vector>

#include "office/model/WorkbookModel.h"

namespace office::engine {

// Palette colours of one workbook to indexes of another that show the same
// colour: the same index when the target shows that colour there or nothing
// of the target uses it (the target's palette then takes the colour), else
// another index of that colour, else a free index, else the nearest colour.
class ColorTranslator {
public:
    ColorTranslator(const WorkbookModel& from, WorkbookModel& to);
    std::uint16_t operator()(std::uint16_t index);

private:
    bool claim(std::uint16_t index, std::uint32_t rgb);
    std::uint16_t place(std::uint32_t rgb, std::uint16_t preferred);
    const WorkbookModel& from_;
    WorkbookModel& to_;
    std::vector<bool> taken_;  // palette slots 8..63 the target's formats use
    std::map<std::uint16_t, std::uint16_t> done_;
};

class XfTranslator {
public:
    XfTranslator(const WorkbookModel& from, WorkbookModel& to) : from_(from), to_(to), colors_(from, to) {}
    std::uint16_t operator()(std::uint16_t xf);
    bool crossesWorkbooks() const { return &from_ != &to_; }

private:
    std::uint16_t numberFormat(std::uint16_t format);
    const WorkbookModel& from_;
    WorkbookModel& to_;
    ColorTranslator colors_;
    std::map<std::uint16_t, std::uint16_t> done_;
};

// The position (1-based) in `to`'s picture store of entry `picture` of `from`'s.
std::uint32_t translatePicture(const WorkbookModel& from, std::uint32_t picture, WorkbookModel& to);

}  // namespace office::engine
