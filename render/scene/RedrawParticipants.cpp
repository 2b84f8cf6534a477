#include "render/scene/RedrawParticipants.h"

void NotifyViewChanged()
{
    ForEachRedrawParticipant([](TRedrawParticipant& p) { p.ViewChanged(); });
}

void RefreshAfterObjects(TGraphImages& images)
{
    ForEachRedrawParticipant([&](TRedrawParticipant& p) { p.AfterObjects(images, true); });
}
