#pragma once

// The functions' curves as the scene last recorded them, each kept with
// what its recording depended on: the columns it was drawn from, its style,
// the mapping, the document's curve settings and the tools and clip of the
// canvases it went to. A curve whose inputs are all as they were goes into
// the pictures again as recorded, without being drawn again; a step of a
// parameter that one function reads draws one curve.
#include "model/DocumentState.h"
#include "model/OffsetArray.h"
#include "render/gfx/Metafile.h"
#include "render/plot/Functions.h"

#include <cstdint>
#include <optional>
#include <vector>

class ScaleT;

class TKeptCurves {
public:
    // Every drawn function into the canvases as DrawFunctions draws them;
    // mainPicture and tracePicture are what canvases.Main and canvases.Trace
    // record into.
    void Draw(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases, TMetafile& mainPicture,
              TMetafile& tracePicture);
    void Clear() { *this = TKeptCurves{}; }

    // Curves put into the pictures as kept, and drawn, since the reset.
    int Reused() const { return reused_; }
    int Drawn() const { return drawn_; }

private:
    // A canvas a curve went to: its tools before, its recording, its tools after.
    struct TCanvasPart {
        bool Used = false;
        TCanvas::TTools Before;
        std::optional<TRect> Clip;
        QPoint PenPosBefore;
        std::vector<TDrawCommand> Commands;
        std::vector<TDrawState> States; // one per command
        TCanvas::TTools After;
        QPoint PenPosAfter;
    };
    struct TCurve {
        bool Valid = false;
        const TColumnArray* Columns = nullptr;
        std::uint64_t Generation = 0;
        std::uint64_t Version = 0;
        TColor Color = 0;
        std::uint8_t Width = 0;
        std::uint8_t LineStyle = 0;
        std::uint8_t AfterImage = 0;
        TViewMapping Mapping;
        int Vlow = 0;
        int VHigh = 0;
        TCurveSettings Settings;
        bool OnlyTrace = false;
        bool TraceAll = false;
        bool Monochrome = false;
        std::uint8_t AfterImageColorNo = 0;
        TCanvasPart Main;
        TCanvasPart Trace;
    };

    TCurve KeyOf(const ScaleT& view, const TViewMapping& mapping, const TPlotCanvases& canvases,
                 const TCurveSettings& settings, int i, const TEquationFunction& f) const;

    TOffsetArray<TCurve, 1, FunctionCount> curves_;
    int reused_ = 0;
    int drawn_ = 0;
};
