#include "session/AngleMode.h"

#include "render/view/RedrawState.h"

#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"

namespace {

void MarkSetChanged(const TWideCharSet& names)
{
    RedrawState.ChangedNames.Flags |= names.Flags;
}

// Every trigonometric function, its inverses and "arg" read the angle unit;
// the inverses and "arg" also the angle interval.
void MarkAngleNamesChanged()
{
    MarkSetChanged(Vocabulary.TrigTokens);
    MarkSetChanged(Vocabulary.InverseTrigTokens);
    MarkNameChanged(TokenCodes.Arg);
}

// Circles and polar curves draw negative radii by the circle mode.
void MarkCircleObjectsChanged()
{
    for (int k = 1; k <= PointCount; ++k) {
        const std::uint8_t kind = DocumentTables.Points[k].Kind;
        if (kind == ObjectCircle || kind == ObjectPolar)
            MarkNameChanged(Vocabulary.PointTokens[k]);
    }
}

} // namespace

bool SetAngleMode(std::uint8_t angleMode, std::uint8_t angleArea, std::uint8_t logMode, std::uint8_t circleMode)
{
    TDocumentOptions& o = Options;
    bool changed = false;
    if (o.AngleMode != angleMode || o.AngleArea != angleArea) {
        o.AngleMode = angleMode;
        o.AngleArea = angleArea;
        MarkAngleNamesChanged();
        changed = true;
    }
    if (o.LogMode != logMode) {
        o.LogMode = logMode;
        MarkNameChanged(TokenCodes.Log);
        MarkNameChanged(TokenCodes.LogBase);
        changed = true;
    }
    if (o.CircleMode != circleMode) {
        o.CircleMode = circleMode;
        MarkCircleObjectsChanged();
        changed = true;
    }
    if (changed)
        SetDirtyObjects();
    return changed;
}
