#pragma once

// The view of the axes tests: GraphScale over a square of pixels with the
// exact fake text metrics, drawn into recordings.
#include "PlotTestKit.h"
#include "render/gfx/TextMetrics.h"
#include "render/plot/Axes.h"
#include "render/plot/fakes/CountingAxisPanelsHost.h"
#include "render/view/Scale.h"
#include "tests/render/ViewTestKit.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using Texts_t = std::vector<std::string>;

class AxesTest : public ::testing::Test {
protected:
    FakeTextMetrics fakeMetrics;
    ScopedTextMetrics useFake{fakeMetrics};
    CountingAxisPanelsHost host;
    ScopedAxisPanelsHost useHost{host};
    ScaleT& view = GraphScale;

    void SetUp() override { SetView(-5.0L, 5.0L, -5.0L, 5.0L, 400, 400); }

    void SetView(long double xLow, long double xHigh, long double yLow, long double yHigh, int width, int height)
    {
        SetTestViewAxes(xLow, xHigh, yLow, yHigh, width, height);
    }

    // The axes layer of the view into a recording of the view's size.
    struct Drawing {
        TRecorder Graph;
        TAxesLayer Layer;
    };
    std::unique_ptr<Drawing> DrawLayer(int magnification = 1)
    {
        auto drawing = std::make_unique<Drawing>();
        const TViewMapping mapping = view.Mapping(magnification);
        drawing->Graph.Picture.Width = view.XAxis.VHigh * magnification;
        drawing->Graph.Picture.Height = view.YAxis.VHigh * magnification;
        drawing->Layer = DrawAxes(drawing->Graph.Canvas, view, mapping);
        return drawing;
    }

    // One axis alone, as the layer draws it.
    std::vector<std::string> AxisLines(TAxisRole role, bool ruler = false)
    {
        TRecorder rec;
        const TViewMapping mapping = view.Mapping();
        const TAxesFrame frame(view, mapping, DocumentAxesSettings(mapping.Context()));
        const int line = role == TAxisRole::X ? mapping.Y.ValueToPixel(0.0L).Pixel
                                              : mapping.X.ValueToPixel(0.0L).Pixel;
        DrawAxis(rec.Canvas, frame, role, line, ruler, role == TAxisRole::X ? view.YAxis.VHigh : view.XAxis.VHigh);
        return rec.Lines();
    }

    // The texts drawn, in order.
    static std::vector<std::string> Texts(const std::vector<std::string>& lines)
    {
        static const QRegularExpression quoted(QStringLiteral("^text .* \"(.*)\"$"));
        std::vector<std::string> texts;
        for (const std::string& line : lines) {
            const QRegularExpressionMatch m = quoted.match(QString::fromStdString(line));
            if (m.hasMatch())
                texts.push_back(m.captured(1).toStdString());
        }
        return texts;
    }
    static std::vector<std::string> Lines(const TMetafile& picture) { return MetafileLines(picture); }
    static int CountStarting(const std::vector<std::string>& lines, const std::string& prefix)
    {
        int n = 0;
        for (const std::string& line : lines)
            n += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }
};
