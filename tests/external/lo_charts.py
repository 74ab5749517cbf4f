#!/usr/bin/python3
"""LibreOffice's own view of a workbook's charts, for the comparison with our
chart pictures.

  lo_charts.py FILE OUTFOLDER
prints one line per chart, in sheet order: N, the sheet, the kind (column,
bar, line, pie, area, scatter, other), the number of series, the points of
each series ("3,3") and the title; and writes LibreOffice's rendering of each
chart to OUTFOLDER/lo-N.png.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from lo_workbook import Office, prop  # noqa: E402

KINDS = {
    "com.sun.star.chart2.ColumnChartType": "column",
    "com.sun.star.chart2.LineChartType": "line",
    "com.sun.star.chart2.PieChartType": "pie",
    "com.sun.star.chart2.AreaChartType": "area",
    "com.sun.star.chart2.ScatterChartType": "scatter",
}


def describe(chart_doc):
    kinds, points = [], []
    for system in chart_doc.getFirstDiagram().getCoordinateSystems():
        swapped = False
        try:
            swapped = bool(system.getPropertyValue("SwapXAndYAxis"))
        except Exception:
            pass
        for chart_type in system.getChartTypes():
            kind = KINDS.get(chart_type.getChartType(), "other")
            if kind == "column" and swapped:
                kind = "bar"
            for series in chart_type.getDataSeries():
                kinds.append(kind)
                count = 0
                for sequence in series.getDataSequences():
                    values = sequence.getValues()
                    if values is not None and values.Role == "values-y":
                        count = len(values.getData())
                points.append(count)
    title = chart_doc.getTitle().String if chart_doc.HasMainTitle else ""
    return (kinds[0] if kinds else "other"), points, title


def export_png(office_ctx, shape, path, width, height):
    exporter = office_ctx.ServiceManager.createInstance("com.sun.star.drawing.GraphicExportFilter")
    exporter.setSourceDocument(shape)
    exporter.filter((prop("URL", "file://" + os.path.abspath(path)), prop("MediaType", "image/png"),
                     prop("FilterData", (prop("PixelWidth", width), prop("PixelHeight", height)))))


def main(path, out):
    with Office() as office:
        doc = office.open(path)
        ctx = office.ctx
        sheets = doc.getSheets()
        n = 0
        for i in range(sheets.getCount()):
            sheet = sheets.getByIndex(i)
            charts = sheet.getCharts()
            page = sheet.getDrawPage()
            shapes = [page.getByIndex(k) for k in range(page.getCount())]
            ole = [s for s in shapes if s.getShapeType() == "com.sun.star.drawing.OLE2Shape"]
            for j in range(charts.getCount()):
                n += 1
                chart = charts.getByIndex(j)
                kind, points, title = describe(chart.getEmbeddedObject())
                print("%d\t%s\t%s\t%d\t%s\t%s" % (n, sheet.getName(), kind, len(points),
                                                  ",".join(str(p) for p in points), title))
                shape = next((s for s in ole if s.PersistName == chart.getName()), None)
                if shape is not None:
                    size = shape.getSize()  # 1/100 mm; pictures at 144 dpi
                    export_png(ctx, shape, os.path.join(out, "lo-%d.png" % n),
                               max(1, round(size.Width / 2540 * 144)), max(1, round(size.Height / 2540 * 144)))
        doc.close(True)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
