#include "session/SessionServices.h"

#include "session/StoreOperations.h"
#include "session/UndoPoints.h"

#include "render/plot/FigureServices.h"
#include "render/scene/HitTests.h"

namespace {

class SessionUndoPoints final : public TUndoPoints {
public:
    void SaveUndoPoint() override { ::SaveUndoPoint(); }
};

class SessionParameterStore final : public TParameterStore {
public:
    void SetPrmValue(int j, long double value) override { ::SetPrmValue(j, value); }
};

} // namespace

void InstallSessionServices()
{
    static SessionUndoPoints undoPoints;
    static SessionParameterStore parameterStore;
    platform::ServiceSlot<TUndoPoints>::install(&undoPoints);
    platform::ServiceSlot<TParameterStore>::install(&parameterStore);
}
