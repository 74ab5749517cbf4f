#include "office/engine/FormatTranslator.h"

#include <algorithm>

namespace office::engine {
namespace {

constexpr std::uint16_t kFirstPaletteIndex = 8;
constexpr std::uint16_t kPaletteEnd = 64;

bool inPalette(std::uint16_t index) { return index >= kFirstPaletteIndex && index < kPaletteEnd; }

int distance(std::uint32_t a, std::uint32_t b) {
    auto part = [](std::uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); };
    int sum = 0;
    for (int shift : {0, 8, 16}) {
        const int d = part(a, shift) - part(b, shift);
        sum += d * d;
    }
    return sum;
}

}  // namespace

ColorTranslator::ColorTranslator(const WorkbookModel& from, WorkbookModel& to)
    : from_(from), to_(to), taken_(kPaletteEnd, false) {
    if (&from_ == &to_) return;
    auto take = [&](std::uint16_t index) {
        if (inPalette(index)) taken_[index] = true;
    };
    for (const FontDef& font : to.fonts) take(font.colorIndex);
    for (const XfDef& xf : to.xfs) {
        for (const BorderLine* line : {&xf.borders.left, &xf.borders.right, &xf.borders.top, &xf.borders.bottom,
                                       &xf.borders.diagonal})
            if (line->style != BorderStyle::None) take(line->color);
        if (xf.fill.pattern != 0) {
            take(xf.fill.foreground);
            take(xf.fill.background);
        }
    }
}

bool ColorTranslator::claim(std::uint16_t index, std::uint32_t rgb) {
    if (!inPalette(index)) return false;
    if (colorRgb(to_.palette, index) == rgb) {
        taken_[index] = true;
        return true;
    }
    if (taken_[index]) return false;
    to_.palette[index - kFirstPaletteIndex] = rgb;
    taken_[index] = true;
    return true;
}

std::uint16_t ColorTranslator::operator()(std::uint16_t index) {
    if (&from_ == &to_ || !inPalette(index)) return index;  // fixed, system and automatic colours
    if (auto it = done_.find(index); it != done_.end()) return it->second;
    const std::uint16_t mapped = place(colorRgb(from_.palette, index), index);
    done_.emplace(index, mapped);
    return mapped;
}

std::uint16_t ColorTranslator::place(std::uint32_t rgb, std::uint16_t preferred) {
    if (claim(preferred, rgb)) return preferred;
    for (std::uint16_t i = kFirstPaletteIndex; i < kPaletteEnd; ++i)
        if (colorRgb(to_.palette, i) == rgb) {
            taken_[i] = true;
            return i;
        }
    for (std::uint16_t i = kFirstPaletteIndex; i < kPaletteEnd; ++i)
        if (!taken_[i] && claim(i, rgb)) return i;
    std::uint16_t nearest = preferred;  // a full palette: the closest colour it has
    for (std::uint16_t i = kFirstPaletteIndex; i < kPaletteEnd; ++i)
        if (distance(colorRgb(to_.palette, i), rgb) < distance(colorRgb(to_.palette, nearest), rgb)) nearest = i;
    return nearest;
}

std::uint16_t XfTranslator::operator()(std::uint16_t xf) {
    if (&from_ == &to_) return xf;
    if (auto it = done_.find(xf); it != done_.end()) return it->second;

    XfDef def = from_.xfAt(xf);
    FontDef font = def.font < from_.fonts.size() ? from_.fonts[def.font] : FontDef{};
    font.colorIndex = colors_(font.colorIndex);
    def.font = to_.findOrAddFont(font);
    def.format = numberFormat(def.format);
    for (BorderLine* line : {&def.borders.left, &def.borders.right, &def.borders.top, &def.borders.bottom,
                             &def.borders.diagonal})
        if (line->style != BorderStyle::None) line->color = static_cast<std::uint8_t>(colors_(line->color));
    if (def.fill.pattern != 0) {
        def.fill.foreground = static_cast<std::uint8_t>(colors_(def.fill.foreground));
        def.fill.background = static_cast<std::uint8_t>(colors_(def.fill.background));
    }
    // Styles do not travel: the copy derives from the target's Normal style.
    def.isStyle = false;
    def.parentStyle = 0;
    const std::uint16_t mapped = to_.findOrAddXf(def);
    done_.emplace(xf, mapped);
    return mapped;
}

std::uint16_t XfTranslator::numberFormat(std::uint16_t format) {
    constexpr std::uint16_t kFirstUserFormat = 164;
    if (format < kFirstUserFormat) return format;  // built-in formats mean the same everywhere
    auto source = from_.numberFormats.find(format);
    if (source == from_.numberFormats.end()) return 0;
    for (const auto& [index, code] : to_.numberFormats)
        if (code == source->second) return index;
    std::uint16_t index = to_.numberFormats.empty()
                              ? kFirstUserFormat
                              : std::max<std::uint16_t>(kFirstUserFormat,
                                                        static_cast<std::uint16_t>(to_.numberFormats.rbegin()->first + 1));
    to_.numberFormats.emplace(index, source->second);
    return index;
}

std::uint32_t translatePicture(const WorkbookModel& from, std::uint32_t picture, WorkbookModel& to) {
    if (&from == &to || picture == 0 || picture > from.pictures.size()) return picture;
    const StoredPicture& stored = from.pictures[picture - 1];
    auto same = std::find(to.pictures.begin(), to.pictures.end(), stored);
    if (same != to.pictures.end()) return static_cast<std::uint32_t>(same - to.pictures.begin() + 1);
    to.pictures.push_back(stored);
    return static_cast<std::uint32_t>(to.pictures.size());
}

}  // namespace office::engine
