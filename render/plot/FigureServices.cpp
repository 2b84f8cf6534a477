#include "render/plot/FigureServices.h"

namespace {

class NoUndoPoints final : public TUndoPoints {
public:
    void SaveUndoPoint() override {}
};

class NoFigureTraces final : public TFigureTraces {
public:
    void FigureDeleted(int) override {}
};

} // namespace

TUndoPoints& CurrentUndoPoints()
{
    return platform::InstalledOr<TUndoPoints, NoUndoPoints>();
}

TFigureTraces& CurrentFigureTraces()
{
    return platform::InstalledOr<TFigureTraces, NoFigureTraces>();
}
