#include "session/SessionServices.h"

#include "session/EditScope.h"
#include "session/PictureExport.h"
#include "session/Stickers.h"
#include "session/StoreOperations.h"
#include "session/ToolWindows.h"

#include "engine/Evaluator.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "render/scene/RedrawParticipants.h"

namespace {

// The values the tools show: the value table's x and the integral limits.
void EvaluateToolValues()
{
    TDocumentTables& doc = DocumentTables;
    const TValue zero = ValueReal(0.0L);
    doc.YvalueXValue = EvaluateExpression(doc.YvalueX, zero);
    doc.IntegralInterval.LowerValue = EvaluateExpression(doc.IntegralInterval.Lower, zero);
    doc.IntegralInterval.UpperValue = EvaluateExpression(doc.IntegralInterval.Upper, zero);
}

// The session's part of every redraw: the parameter values typed into the
// data panel are taken over before the scene reads them, and the figures
// and tools take the states and values the scene is drawn from.
class SessionRedrawSteps final : public TRedrawParticipant {
public:
    void ApplyPendingEdits() override { ApplyPendingPrmEdits(); }
    void ObjectsEvaluated(const ScaleT& view, bool statesRebuilt) override
    {
        if (statesRebuilt)
            Segments.States = view.PointStates;
        EvaluateToolValues();
    }
};

} // namespace

void InstallSessionServices()
{
    static SessionRedrawSteps redrawSteps;
    static const TRedrawParticipation takesPart(redrawSteps, TRedrawOrder::Session);
    InstallToolWindowServices();
    InstallStickerServices();
    InstallPictureSeries();
    InstallScopedRedrawer();
}
