// readChart: one walk over the chart substream. Records between BEGIN and END
// belong to the record before the BEGIN (a series, an axis, a text, ...), so
// the walk keeps a stack of those scopes and each record applies to the one
// it sits in. The cached cell values follow the chart block (SIINDEX, then
// NUMBER and LABEL records by point and series).
#include "office/chart/ChartReader.h"

#include <algorithm>
#include <array>
#include <string>

#include "automation/AutomationError.h"
#include "automation/Variant.h"
#include "office/biff/BiffRecords.h"
#include "office/biff/BiffStrings.h"
#include "office/biff/ByteCursor.h"
#include "office/biff/RecordReader.h"
#include "office/chart/ChartData.h"
#include "office/chart/ChartFormula.h"
#include "office/chart/ChartParts.h"
#include "office/chart/ChartRecords.h"
#include "office/model/CellFormat.h"

namespace office::chart {
namespace {

using automation::AutomationError;
using automation::chart::Axis;
using automation::chart::Grouping;
using automation::chart::Kind;
using automation::chart::Legend;
using biff::ByteCursor;

constexpr std::size_t kMaxDepth = 64;
constexpr std::size_t kMaxSeriesRecords = 1024;  // 255 data series and their trend lines and error bars
constexpr std::size_t kMaxChartPoints = 256000;  // Excel 97-2003's limit for one chart
constexpr std::uint16_t kWholeSeries = 0xFFFF;

// Raised inside the reader; readChart turns it into the one error type.
struct Damage {
    std::string what;
    std::uint64_t offset;
};

[[noreturn]] void damaged(std::string what, std::uint64_t offset) { throw Damage{std::move(what), offset}; }

enum class FrameOf : std::uint8_t { Other, ChartArea, PlotArea };

// What the records inside one BEGIN ... END block belong to.
struct Scope {
    std::uint16_t owner = 0;  // the record before the BEGIN
    int series = -1;
    int point = -1;           // inside a DATAFORMAT of one point
    bool dataFormat = false;
    int axisSet = -1;         // AXISPARENT: 0 primary, 1 secondary
    int axis = -1;            // 0 category, 1 value (primary axes only)
    int group = -1;
    int text = -1;
    FrameOf frame = FrameOf::Other;
    // Set by records inside the block for the records after them.
    bool plotAreaNext = false;  // PLOTAREA: the next FRAME is the plot area's
    int axisLine = -1;          // AXISLINEFORMAT: which line the next LINEFORMAT draws
};

class ChartRecordReader {
public:
    explicit ChartRecordReader(std::span<const std::uint32_t> palette) : palette_(palette) {}

    automation::chart::Chart read(std::span<const std::uint8_t> substream) {
        biff::RecordReader reader(substream);
        biff::Record record;
        if (!next(reader, record) || record.id != biff::rec::kBof) damaged("it does not start with a BOF record", 0);
        // LibreOffice encrypts the BOF of a chart nested in an encrypted sheet, so a
        // body that does not read as a BOF is let pass; another substream's is not.
        if (record.body.size() >= 4 && record.body[0] == 0x00 && record.body[1] == 0x06 &&
            (record.body[2] | (record.body[3] << 8)) != biff::rec::kBofChart)
            damaged("it is not a chart but another kind of sheet", 0);
        stack_.push_back(Scope{});
        for (;;) {
            if (!next(reader, record)) damaged("its records end before the EOF record", reader.position());
            if (record.id == biff::rec::kEof) break;
            try {
                handle(record);
            } catch (const AutomationError&) {  // a record body shorter than its fields
                damaged("record " + hex(record.id) + " is shorter than its contents", record.offset);
            }
        }
        finishAxes();
        return assembleChart(parts_, palette_);
    }

private:
    static bool next(biff::RecordReader& reader, biff::Record& record) {
        try {
            return reader.next(record);
        } catch (const AutomationError&) {
            damaged("a record runs past the end of the chart", reader.position());
        }
    }

    static std::string hex(std::uint16_t id) {
        static const char* digits = "0123456789ABCDEF";
        std::string s = "0x";
        for (int shift = 12; shift >= 0; shift -= 4) s += digits[(id >> shift) & 0xF];
        return s;
    }

    Scope& top() { return stack_.back(); }
    SeriesPart* series() {
        const int i = top().series;
        return (i >= 0 && static_cast<std::size_t>(i) < parts_.series.size()) ? &parts_.series[i] : nullptr;
    }
    GroupPart* group() {
        const int i = top().group;
        return (i >= 0 && static_cast<std::size_t>(i) < parts_.groups.size()) ? &parts_.groups[i] : nullptr;
    }
    Axis* axis() {
        if (top().owner != rec::kAxis) return nullptr;
        if (top().axis == 0) return &parts_.categoryAxis;
        if (top().axis == 1) return &parts_.valueAxis;
        return nullptr;
    }
    TextPart* text() {
        const int i = top().text;
        return (top().owner == rec::kText && i >= 0) ? &parts_.texts[i] : nullptr;
    }
    // The formats a LINEFORMAT, AREAFORMAT or MARKERFORMAT inside a DATAFORMAT block set.
    PartFormat* dataFormat() {
        SeriesPart* s = series();
        if (!s || !top().dataFormat || top().owner != rec::kDataFormat) return nullptr;
        if (top().point < 0) return &s->format;
        return &s->points[static_cast<std::uint16_t>(top().point)];
    }

    void handle(const biff::Record& record) {
        ByteCursor in(record.body, record.bodyOffset());
        if (record.id == rec::kBegin) {
            if (stack_.size() >= kMaxDepth) damaged("its blocks are nested too deeply", record.offset);
            stack_.push_back(pending_);
            return;
        }
        if (record.id == rec::kEnd) {
            if (stack_.size() <= 1) damaged("an END record has no BEGIN", record.offset);
            stack_.pop_back();
            return;
        }
        pending_ = top();
        pending_.owner = record.id;
        pending_.plotAreaNext = false;
        pending_.axisLine = -1;
        switch (record.id) {
        case biff::rec::kBof: damaged("a BOF record inside the chart", record.offset);
        case rec::kChart: readChartSize(in); break;
        case rec::kFrame: readFrame(); break;
        case rec::kPlotArea: top().plotAreaNext = true; break;
        case rec::kLineFormat: readLine(in); break;
        case rec::kAreaFormat: readArea(in); break;
        case rec::kMarkerFormat:
            if (PartFormat* f = dataFormat()) f->marker = readMarkerFormat(in, palette_);
            break;
        case rec::kSeries: readSeries(in, record.offset); break;
        case rec::kAi: readLink(in); break;
        case rec::kSeriesText: readSeriesText(in); break;
        case rec::kDataFormat: readDataFormat(in); break;
        case rec::kSerToCrt:
            if (SeriesPart* s = series(); s && top().owner == rec::kSeries) s->group = in.u16();
            break;
        case rec::kSerParent:
            if (SeriesPart* s = series(); s && top().owner == rec::kSeries) s->auxiliary = true;
            break;
        case rec::kText: readText(in); break;
        case rec::kObjectLink:
            if (TextPart* t = text()) t->link = in.u16();
            break;
        case rec::kAxisParent: pending_.axisSet = in.u16(); break;
        case rec::kAxis: readAxis(in); break;
        case rec::kCatSerRange: readCategoryRange(in); break;
        case rec::kValueRange: readValueRange(in); break;
        case rec::kTick: readTick(in); break;
        case rec::kAxisLineFormat:
            if (axis()) top().axisLine = in.u16();
            break;
        case rec::kIfmt: readNumberFormat(in); break;
        case rec::kChartFormat: readChartFormat(in); break;
        case rec::kBar:
        case rec::kLine:
        case rec::kArea:
        case rec::kPie:
        case rec::kScatter:
        case rec::kRadar:
        case rec::kRadarArea:
        case rec::kSurface:
        case rec::kBopPop: readChartType(record.id, in); break;
        case rec::kChartLine:
            // High-low lines make a stock chart, which we do not draw.
            if (GroupPart* g = group(); g && in.u16() == 1) g->kind = Kind::Unknown;
            break;
        case rec::kDropBar:
            if (GroupPart* g = group()) g->kind = Kind::Unknown;
            break;
        case rec::kChart3d:
            if (GroupPart* g = group()) g->threeD = true;
            break;
        case rec::kLegend: readLegend(in); break;
        case rec::kSiIndex: cacheKind_ = in.u16(); break;
        case biff::rec::kNumber: readCachedNumber(in); break;
        case biff::rec::kLabel: readCachedLabel(in); break;
        default: break;
        }
    }

    void readChartSize(ByteCursor& in) {
        constexpr double kFixedOne = 65536.0;  // the sizes are 16.16 fixed-point points
        in.skip(8);
        parts_.widthPt = in.u32() / kFixedOne;
        parts_.heightPt = in.u32() / kFixedOne;
    }

    void readFrame() {
        if (top().plotAreaNext) {
            pending_.frame = FrameOf::PlotArea;
            top().plotAreaNext = false;
        } else {
            pending_.frame = top().owner == rec::kChart ? FrameOf::ChartArea : FrameOf::Other;
        }
    }

    void readLine(ByteCursor& in) {
        LineFormat line = readLineFormat(in, palette_);
        if (Axis* a = axis()) {
            const auto which = static_cast<std::size_t>(top().axis);
            if (top().axisLine == 0) axisLine_[which] = line.stroke.visible;
            if (top().axisLine == 1) a->majorGridlines = line.stroke.visible;
        } else if (PartFormat* f = dataFormat()) {
            f->line = line;
        } else if (top().owner == rec::kFrame && top().frame == FrameOf::ChartArea) {
            parts_.chartBorder = line;
        }
    }

    void readArea(ByteCursor& in) {
        AreaFormat area = readAreaFormat(in, palette_);
        if (PartFormat* f = dataFormat()) {
            f->area = area;
        } else if (top().owner == rec::kFrame) {
            if (top().frame == FrameOf::ChartArea) parts_.chartArea = area;
            if (top().frame == FrameOf::PlotArea) parts_.plotArea = area;
        }
    }

    void readSeries(ByteCursor& in, std::uint64_t offset) {
        if (parts_.series.size() >= kMaxSeriesRecords) damaged("it has too many series", offset);
        in.skip(4);  // the data types of categories and values
        const std::size_t categoryCount = in.u16();
        const std::size_t valueCount = in.u16();
        SeriesPart part;
        part.series.values.resize(take(valueCount));
        part.categoryCount = categoryCount;
        parts_.series.push_back(std::move(part));
        pending_.series = static_cast<int>(parts_.series.size() - 1);
    }

    // How many of `wanted` points fit into the chart's budget.
    std::size_t take(std::size_t wanted) {
        const std::size_t n = std::min({wanted, kMaxPoints, kMaxChartPoints - points_});
        points_ += n;
        return n;
    }

    // AI: what a series' name, values or categories, or a text, are linked to.
    void readLink(ByteCursor& in) {
        constexpr std::uint8_t kName = 0, kValues = 1, kCategories = 2;
        constexpr std::uint8_t kReference = 2;
        const std::uint8_t id = in.u8();
        const std::uint8_t type = in.u8();
        in.skip(4);  // flags, number format
        const std::uint16_t size = in.u16();
        auto rgce = in.take(size);
        if (type != kReference) return;
        auto ranges = readFormulaRanges(rgce);
        if (TextPart* t = text(); t && id == kName) {
            t->label.source = std::move(ranges);
            return;
        }
        SeriesPart* s = series();
        if (!s || top().owner != rec::kSeries) return;
        if (id == kName) s->series.name.source = std::move(ranges);
        if (id == kValues) s->series.valuesSource = std::move(ranges);
        if (id == kCategories) s->series.categoriesSource = std::move(ranges);
    }

    void readSeriesText(ByteCursor& in) {
        in.skip(2);
        std::string value = biff::readShortString(in);
        if (TextPart* t = text()) {
            t->label.text = std::move(value);
            t->hasText = true;
        } else if (SeriesPart* s = series(); s && top().owner == rec::kSeries) {
            s->series.name.text = std::move(value);
        }
    }

    void readDataFormat(ByteCursor& in) {
        const std::uint16_t point = in.u16();
        in.skip(2);  // the series index, which the enclosing SERIES block gives
        const std::uint16_t plotOrder = in.u16();
        SeriesPart* s = series();
        if (!s || top().owner != rec::kSeries) return;  // a chart group's default format: not drawn
        pending_.dataFormat = true;
        pending_.point = point == kWholeSeries ? -1 : point;
        if (point == kWholeSeries) s->formatIndex = plotOrder;
    }

    void readText(ByteCursor& in) {
        in.skip(24);  // alignment, background mode, colour, position and size
        TextPart part;
        part.flags = in.u16();
        parts_.texts.push_back(part);
        pending_.text = static_cast<int>(parts_.texts.size() - 1);
    }

    void readAxis(ByteCursor& in) {
        const std::uint16_t type = in.u16();
        pending_.axis = (top().axisSet == 0 && type < 2) ? type : -1;
        if (pending_.axis == 0) parts_.categoryAxis.present = true;
        if (pending_.axis == 1) parts_.valueAxis.present = true;
    }

    void readCategoryRange(ByteCursor& in) {
        constexpr std::uint16_t kReversed = 0x0004;
        Axis* a = axis();
        if (!a) return;
        in.skip(6);
        a->reversed = in.u16() & kReversed;
    }

    void readValueRange(ByteCursor& in) {
        constexpr std::uint16_t kAutoMin = 0x01, kAutoMax = 0x02, kAutoMajor = 0x04, kLog = 0x20, kReversed = 0x40;
        Axis* a = axis();
        if (!a) return;
        const double min = in.f64(), max = in.f64(), major = in.f64();
        in.skip(16);  // minor unit, crossing point
        const std::uint16_t flags = in.u16();
        if (!(flags & kAutoMin)) a->min = min;
        if (!(flags & kAutoMax)) a->max = max;
        if (!(flags & kAutoMajor) && major > 0) a->majorUnit = major;
        a->logarithmic = flags & kLog;
        a->reversed = flags & kReversed;
    }

    void readTick(ByteCursor& in) {
        if (!axis()) return;
        in.skip(2);  // major and minor tick marks
        axisLabels_[static_cast<std::size_t>(top().axis)] = in.u8() != 0;
    }

    void readNumberFormat(ByteCursor& in) {
        Axis* a = axis();
        if (!a) return;
        a->numberFormatIndex = in.u16();
        a->numberFormat = builtInNumberFormat(a->numberFormatIndex);
    }

    // The built-in formats whose text does not depend on the locale.
    static std::string builtInNumberFormat(std::uint16_t index) {
        switch (index) {
        case 0: return "General";
        case 1: return "0";
        case 2: return "0.00";
        case 3: return "#,##0";
        case 4: return "#,##0.00";
        case 9: return "0%";
        case 10: return "0.00%";
        case 11: return "0.00E+00";
        case 48: return "##0.0E+0";
        case 49: return "@";
        default: return {};
        }
    }

    void readChartFormat(ByteCursor& in) {
        constexpr std::uint16_t kVaried = 0x0001;
        in.skip(16);  // position, kept by the axis group
        GroupPart part;
        part.variedColors = in.u16() & kVaried;
        part.secondaryAxes = top().axisSet == 1;
        parts_.groups.push_back(part);
        pending_.group = static_cast<int>(parts_.groups.size() - 1);
    }

    void readChartType(std::uint16_t id, ByteCursor& in) {
        GroupPart* g = group();
        if (!g || top().owner != rec::kChartFormat) return;
        auto grouping = [](bool stacked, bool percent) {
            return percent ? Grouping::PercentStacked : stacked ? Grouping::Stacked : Grouping::Standard;
        };
        switch (id) {
        case rec::kBar: {
            in.skip(4);  // overlap and gap
            const std::uint16_t flags = in.u16();
            g->kind = (flags & 0x1) ? Kind::Bar : Kind::Column;
            g->grouping = grouping(flags & 0x2, flags & 0x4);
            break;
        }
        case rec::kLine:
        case rec::kArea: {
            const std::uint16_t flags = in.u16();
            g->kind = id == rec::kLine ? Kind::Line : Kind::Area;
            g->grouping = grouping(flags & 0x1, flags & 0x2);
            break;
        }
        case rec::kPie:
            in.skip(2);  // angle of the first slice
            g->kind = Kind::Pie;
            g->holePercent = std::min<std::uint16_t>(in.u16(), 90);
            break;
        case rec::kScatter:
            in.skip(4);  // bubble sizes
            g->kind = (in.u16() & 0x1) ? Kind::Unknown : Kind::Scatter;  // bubbles we do not draw
            break;
        default:
            g->kind = Kind::Unknown;  // radar, surface, pie of pie
            break;
        }
    }

    void readLegend(ByteCursor& in) {
        if (!group() || top().owner != rec::kChartFormat || parts_.legend.shown) return;
        in.skip(16);  // position and size
        parts_.legend.shown = true;
        switch (in.u8()) {
        case 0: parts_.legend.position = Legend::Position::Bottom; break;
        case 1: parts_.legend.position = Legend::Position::Corner; break;
        case 2: parts_.legend.position = Legend::Position::Top; break;
        case 3: parts_.legend.position = Legend::Position::Right; break;
        case 4: parts_.legend.position = Legend::Position::Left; break;
        default: parts_.legend.position = Legend::Position::Floating; break;
        }
    }

    // NUMBER and LABEL after SIINDEX: row = point, column = series.
    static constexpr std::uint16_t kCacheValues = 1, kCacheCategories = 2;

    SeriesPart* cachedSeries(std::uint16_t column) {
        return column < parts_.series.size() ? &parts_.series[column] : nullptr;
    }

    void readCachedNumber(ByteCursor& in) {
        const std::uint16_t point = in.u16();
        SeriesPart* s = cachedSeries(in.u16());
        in.skip(2);
        const double value = in.f64();
        if (!s || point >= kMaxPoints) return;
        auto& series = s->series;
        if (cacheKind_ == kCacheValues && point < series.values.size()) series.values[point] = value;
        if (cacheKind_ == kCacheCategories && growCategories(*s, point)) {
            series.categories[point] = automation::formatGeneralNumber(value);
            series.xValues[point] = value;
        }
    }

    void readCachedLabel(ByteCursor& in) {
        const std::uint16_t point = in.u16();
        SeriesPart* s = cachedSeries(in.u16());
        in.skip(2);
        std::string value = biff::readUnicodeString(in);
        if (s && cacheKind_ == kCacheCategories && growCategories(*s, point))
            s->series.categories[point] = std::move(value);
    }

    // Categories are sized by the first cached one: most charts have none.
    bool growCategories(SeriesPart& s, std::uint16_t point) {
        auto& series = s.series;
        if (series.categories.empty()) {
            const std::size_t n = take(std::max<std::size_t>(s.categoryCount, point + 1u));
            series.categories.resize(n);
            series.xValues.resize(n);
        }
        return point < series.categories.size();
    }

    void finishAxes() {
        parts_.categoryAxis.visible = axisLabels_[0] || axisLine_[0];
        parts_.valueAxis.visible = axisLabels_[1] || axisLine_[1];
    }

    ChartPalette palette_;
    ChartParts parts_;
    std::vector<Scope> stack_;
    Scope pending_;
    std::uint16_t cacheKind_ = 0;
    std::size_t points_ = 0;
    std::array<bool, 2> axisLabels_{true, true};
    std::array<bool, 2> axisLine_{true, true};
};

}  // namespace

automation::chart::Chart readChart(std::span<const std::uint8_t> substream, std::span<const std::uint32_t> palette) {
    try {
        return ChartRecordReader(palette).read(substream);
    } catch (const Damage& d) {
        throw AutomationError(automation::errnum::kApplicationDefined,
                              "The chart could not be read: " + d.what + " (at offset " + std::to_string(d.offset) +
                                  " of its records).",
                              {}, static_cast<std::int64_t>(d.offset));
    }
}

std::span<const std::uint32_t> defaultPalette() { return office::defaultPalette(); }

}  // namespace office::chart
