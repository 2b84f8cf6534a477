#include "render/view/ViewResets.h"

#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <memory>

void RegisterViewResets()
{
    RegisterEngineResets();
    // The view cannot be copied, so it is rebuilt in place as at start-up.
    RegisterReset(QStringLiteral("graph view"), [] {
        std::destroy_at(&GraphScale);
        std::construct_at(&GraphScale);
    });
    RegisterReset(QStringLiteral("redraw state"), [] { RedrawState.Reset(); });
}
