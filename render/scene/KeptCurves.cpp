#include "render/scene/KeptCurves.h"

#include "model/Colors.h"
#include "model/Options.h"
#include "render/view/Scale.h"

#include <cassert>

namespace {

bool SameTools(const TCanvas::TTools& a, const TCanvas::TTools& b)
{
    return a.Pen == b.Pen && a.Brush == b.Brush && a.Font == b.Font;
}

bool SameSettings(const TCurveSettings& a, const TCurveSettings& b)
{
    return a.Pen.Context.Magnification == b.Pen.Context.Magnification && a.Pen.FontSize == b.Pen.FontSize &&
           a.Pen.CapStyle == b.Pen.CapStyle && a.Pen.AimgOfArea == b.Pen.AimgOfArea && a.DrawMode == b.DrawMode;
}

} // namespace

TKeptCurves::TCurve TKeptCurves::KeyOf(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                                       const TCurveSettings& settings, int i, const TEquationFunction& f) const
{
    TCurve key;
    key.Columns = &FunctionColumns(view, i);
    key.Generation = view.Columns.Generation();
    key.Version = view.Columns.Version(i);
    key.Color = f.Color;
    key.Width = f.Width;
    key.LineStyle = f.LineStyle;
    key.AfterImage = f.AfterImage;
    key.Mapping = mapping;
    key.Vlow = view.XAxis.Vlow;
    key.VHigh = view.XAxis.VHigh;
    key.Settings = settings;
    key.OnlyTrace = canvases.OnlyTrace;
    key.TraceAll = canvases.TraceAll;
    key.Monochrome = ColorScheme.Monochrome;
    key.AfterImageColorNo = Options.AfterImageColorNo;
    const auto before = [](TCanvasPart& part, const TCanvas* canvas) {
        part.Used = canvas != nullptr;
        if (!canvas)
            return;
        part.Before = canvas->SaveTools();
        part.Clip = canvas->ClipRect();
        part.PenPosBefore = canvas->PenPos;
    };
    before(key.Main, canvases.MainCanvas());
    before(key.Trace, canvases.TraceCanvas(f.AfterImage != 0));
    return key;
}

namespace {

template <class Curve, class Part>
bool SameInputs(const Curve& a, const Curve& b)
{
    const auto samePart = [](const Part& p, const Part& q) {
        return p.Used == q.Used &&
               (!p.Used || (SameTools(p.Before, q.Before) && p.Clip == q.Clip && p.PenPosBefore == q.PenPosBefore));
    };
    return a.Valid && a.Columns == b.Columns && a.Generation == b.Generation && a.Version == b.Version &&
           a.Color == b.Color && a.Width == b.Width && a.LineStyle == b.LineStyle && a.AfterImage == b.AfterImage &&
           a.Mapping.X == b.Mapping.X && a.Mapping.Y == b.Mapping.Y && a.Vlow == b.Vlow && a.VHigh == b.VHigh &&
           SameSettings(a.Settings, b.Settings) && a.OnlyTrace == b.OnlyTrace && a.TraceAll == b.TraceAll &&
           a.Monochrome == b.Monochrome && a.AfterImageColorNo == b.AfterImageColorNo && samePart(a.Main, b.Main) &&
           samePart(a.Trace, b.Trace);
}

// What the canvas recorded into the picture from entry `from` on, and the
// tools it was left with.
template <class Part>
void Capture(Part& part, const TCanvas* canvas, const TMetafile& picture, size_t from)
{
    if (!part.Used)
        return;
    for (size_t e = from; e < picture.Entries.size(); ++e) {
        part.Commands.push_back(picture.Entries[e].Command);
        part.States.push_back(picture.States[static_cast<size_t>(picture.Entries[e].State)]);
    }
    part.After = canvas->SaveTools();
    part.PenPosAfter = canvas->PenPos;
}

// The recording into the picture as the canvas records it (a state is added
// only when the tools changed), and the canvas left as the drawing left it.
template <class Part>
void Replay(const Part& part, TCanvas* canvas, TMetafile& picture)
{
    if (!part.Used)
        return;
    for (size_t k = 0; k < part.Commands.size(); ++k) {
        const TDrawState& state = part.States[k];
        if (picture.States.empty() || !(picture.States.back() == state))
            picture.States.push_back(state);
        picture.Entries.push_back({part.Commands[k], static_cast<int>(picture.States.size()) - 1});
    }
    canvas->RestoreTools(part.After);
    canvas->PenPos = part.PenPosAfter;
}

} // namespace

void TKeptCurves::Draw(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                       TMetafile& mainPicture, TMetafile& tracePicture)
{
    assert(&mainPicture != &tracePicture);
    const TCurveSettings settings = DocumentCurveSettings(mapping.Context());
    for (int i = 1; i <= FunctionCount; ++i) {
        const TEquationFunction& f = DocumentTables.Functions[i];
        if (!IsFunctionDrawn(f))
            continue;
        TCurve& kept = curves_[i];
        TCanvas* main = canvases.MainCanvas();
        TCanvas* trace = canvases.TraceCanvas(f.AfterImage != 0);
        TCurve key = KeyOf(view, mapping, canvases, settings, i, f);
        if (SameInputs<TCurve, TCanvasPart>(kept, key)) {
            Replay(kept.Main, main, mainPicture);
            Replay(kept.Trace, trace, tracePicture);
            NoteFunctionDrawn(i, f, canvases);
            ++reused_;
            continue;
        }
        const size_t mainFrom = mainPicture.Entries.size();
        const size_t traceFrom = tracePicture.Entries.size();
        DrawFunction(view, mapping, canvases, settings, i, f);
        Capture(key.Main, main, mainPicture, mainFrom);
        Capture(key.Trace, trace, tracePicture, traceFrom);
        key.Valid = true;
        kept = std::move(key);
        ++drawn_;
    }
}
