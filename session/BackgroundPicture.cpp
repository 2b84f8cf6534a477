#include "session/BackgroundPicture.h"

#include "session/EditScope.h"
#include "session/ProjectFile.h"

#include "model/Options.h"
#include "render/view/RedrawState.h"

namespace {

// The whole graph is drawn again, at the end of the action.
void RedrawWithBackground()
{
    const TEditScope edit;
    SetDirtyView();
}

void RedrawWhenShown()
{
    if (Options.BGshown)
        RedrawWithBackground();
}

} // namespace

void TakeBackgroundFile(const QString& path, bool loaded)
{
    ProjectFile.BGfile = path;
    ShowBackgroundFile(loaded);
}

void ShowBackgroundFile(bool loaded)
{
    Options.BGshown = loaded ? 1 : 0;
    RedrawWhenShown();
}

void TakeBackgroundFromClipboard()
{
    ProjectFile.BGfile.clear();
    Options.BGshown = 1;
    RedrawWithBackground();
}

bool ClearBackgroundPicture()
{
    if (!Options.BGshown)
        return false;
    ProjectFile.BGfile.clear();
    Options.BGshown = 0;
    RedrawWithBackground();
    return true;
}

void SetBackgroundStretchMode(int mode)
{
    Options.BGMode = static_cast<std::uint8_t>(mode);
    Options.BGstretchOn = 1;
    RedrawWhenShown();
}

void ToggleBackgroundStretch()
{
    Options.BGstretchOn = Options.BGstretchOn ? 0 : 1;
    RedrawWhenShown();
}
