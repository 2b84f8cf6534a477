#include "session/ProjectHost.h"

namespace {

// No windows: nothing to bring up to date, no control tabs, every script compiles.
class NoProjectHost final : public TProjectHost {
public:
    void SetFileCaption(const QString&) override {}
    void RefreshRows() override {}
    void ArrangePanels() override {}
    void UpdateStretchButton() override {}
    void LoadBackgroundFile(const QString&) override {}
    int PageControlHeight() override { return 0; }
    void ResizeGraphArea() override {}
    void SetAxisOnButton(bool) override {}
    bool CompileScripts(const QStringList&) override { return true; }
    void BuildStickerTexts(const QStringList&) override {}
    void ArrangeStickers() override {}
    void UpdateUndoControls(bool, bool) override {}
    void UpdateViewHistoryControls() override {}
};

} // namespace

TProjectHost& CurrentProjectHost()
{
    return platform::InstalledOr<TProjectHost, NoProjectHost>();
}
