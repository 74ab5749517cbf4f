// Draws every chart of a workbook as the engine would for a Presentation, so
// that outside checkers can compare the pictures with other programs' own:
//   tavolex_chart_tool FILE OUTFOLDER [WIDTH HEIGHT]
// writes OUTFOLDER/chart-N.png (N from 1, in sheet order) and prints one line
// per chart: N, the sheet, the kind, the number of series and of points of
// each series ("3,3"), and the title. Sizes are points (default: the size
// the chart records give, else 360 x 216). Exit code 1 with a message on
// stderr when the file cannot be read.
#include <fstream>
#include <iostream>

#include "office/ChartSamples.h"
#include "render/QtPictureMaker.h"

namespace {

const char* kindName(automation::chart::Kind kind) {
    using automation::chart::Kind;
    switch (kind) {
    case Kind::Column: return "column";
    case Kind::Bar: return "bar";
    case Kind::Line: return "line";
    case Kind::Pie: return "pie";
    case Kind::Area: return "area";
    case Kind::Scatter: return "scatter";
    case Kind::Unknown: break;
    }
    return "unknown";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::cerr << "usage: tavolex_chart_tool FILE OUTFOLDER [WIDTH HEIGHT]\n";
        return 1;
    }
    try {
        const auto workbook = charttest::loadCharts(argv[1]);
        render::QtPictureMaker maker;
        int n = 0;
        for (const auto& found : workbook.charts) {
            const auto chart = workbook.readAndFill(found);
            double width = chart.widthPt > 1 ? chart.widthPt : 360, height = chart.heightPt > 1 ? chart.heightPt : 216;
            if (argc == 5) {
                width = std::stod(argv[3]);
                height = std::stod(argv[4]);
            }
            const auto picture = maker.chartPicture(chart, width, height);
            const std::string name = std::string(argv[2]) + "/chart-" + std::to_string(++n) + ".png";
            std::ofstream(name, std::ios::binary)
                .write(reinterpret_cast<const char*>(picture.png.data()), static_cast<std::streamsize>(picture.png.size()));
            std::cout << n << '\t' << found.sheet << '\t' << kindName(chart.kind) << '\t' << chart.series.size() << '\t';
            for (std::size_t i = 0; i < chart.series.size(); ++i)
                std::cout << (i ? "," : "") << chart.series[i].values.size();
            std::cout << '\t' << (chart.title ? chart.title->text : "") << '\n';
        }
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << '\n';
        return 1;
    }
    return 0;
}
