#pragma once

// The windows' side of the view's redraw and of the project file: what the
// render layer and the session ask of the graph window and the data panel.
#include "render/plot/Rulers.h"
#include "render/view/ViewServices.h"
#include "session/DocumentParticipants.h"
#include "session/PictureExport.h"
#include "session/ProjectHost.h"
#include "session/Stickers.h"

#include <functional>

class TGraphRedrawWindow final : public TRedrawWindow {
public:
    std::optional<int> DataPanelWidth() override;
    int WorkAreaWidth() override;
    void RepaintGraph() override;
    const QImage* BackgroundPicture() override;
    void RecordView() override;
};

class TWindowProjectHost final : public TProjectHost {
public:
    void SetFileCaption(const QString& fileName) override;
    int PageControlHeight() override;
    void ResizeGraphArea() override;
    void UpdateStretchButton() override;
    void LoadBackgroundFile(const QString& path) override;
    void SetAxisOnButton(bool down) override;
    void UpdateViewHistoryControls() override;
    bool SuppressesViewHistory() override;
    // The data panel's rows and panels.
    void RefreshRows() override;
    void ArrangePanels() override;
    // The data panel's undo and redo items and buttons.
    void UpdateUndoControls(bool canUndo, bool canRedo) override;
};

// The sticker images of the graph window: the stickers' pictures shown
// where the session places them.
class TGraphStickerWindow final : public TStickerWindow {
public:
    void ShowSticker(int k, const QImage& picture) override;
    void HideSticker(int k) override;
    void PlaceStickers() override;
};

// The graph window's axis strips: their sizes, the rulers shown in them and
// the range texts.
class TWindowAxisPanelsHost final : public TAxisPanelsHost {
public:
    void SizeRulerPanels(const TRulerPanelSizes& panels) override;
    std::optional<TRulerImageSizes> RulerImageSizes() override;
    void SetRangeTexts(const QString& x, const QString& y) override;
    void ShowRulers(const TMetafile& xRuler, const TMetafile& yRuler) override;
    void ArrangePanels() override;
};

// The graph window's pictures for files, the clipboard and the printer.
class TGraphPictureWindows final : public TPictureWindows {
public:
    QImage CaptureWindows(int mode) override;
    QString GraphCaption() override;
};

// The screen's work area (without panels and task bars) of the screen the
// program's windows are on.
QRect WorkArea();

// Moves a main window so that its frame's top-left corner is at the point.
// Until the window manager has framed the window, Qt places its client area
// there instead, which would put the title bar above the point: the frame
// of the other main window, which the window manager decorates alike,
// stands in for the one to come.
void MoveWindowFrame(QWidget& window, QPoint frameTopLeft);
