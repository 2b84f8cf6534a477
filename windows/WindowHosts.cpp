#include "windows/WindowHosts.h"
#include "windows/ConsoleCommands.h"

#include "dialogs/PermanentForms.h"
#include "render/gfx/ColorConvert.h"
#include "render/gfx/Metafile.h"
#include "session/ProjectFile.h"
#include "session/StoreOperations.h"
#include "session/ViewHistory.h"
#include "windows/GraphAreaForm.h"
#include "windows/GraphMouse.h"
#include "windows/MainConsole.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

namespace {

// Runs the step on the graph window, when there is one.
template <class Step>
void OnGraphWindow(Step step)
{
    if (Forms.GraphAreaForm)
        step(*Forms.GraphAreaForm);
}

} // namespace

namespace {

// The window's frame around its client area; null until it is framed (and
// on a system without window decorations).
QMargins FrameMargins(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

} // namespace

void MoveWindowFrame(QWidget& window, QPoint frameTopLeft)
{
    QPoint clientOffset;
    if (FrameMargins(window).isNull())
        for (const QWidget* other : {Forms.GraphWindow, Forms.DataPanel})
            if (other && other != &window && !FrameMargins(*other).isNull()) {
                const QMargins frame = FrameMargins(*other);
                clientOffset = QPoint(frame.left(), frame.top());
                break;
            }
    window.move(frameTopLeft + clientOffset);
}

QRect WorkArea()
{
    const QScreen* screen = Forms.GraphAreaForm ? Forms.GraphAreaForm->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

std::optional<int> TGraphRedrawWindow::DataPanelWidth()
{
    if (!Forms.MainConsole)
        return std::nullopt;
    return Forms.MainConsole->frameGeometry().width();
}

int TGraphRedrawWindow::WorkAreaWidth()
{
    return WorkArea().width();
}

void TGraphRedrawWindow::RepaintGraph()
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.RepaintGraph(); });
}

void TWindowProjectHost::SetFileCaption(const QString& fileName)
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.SetFileCaption(fileName); });
}

int TWindowProjectHost::PageControlHeight()
{
    return Forms.GraphAreaForm ? Forms.GraphAreaForm->PageControlHeight() : 0;
}

void TWindowProjectHost::ResizeGraphArea()
{
    OnGraphWindow([&](TGraphAreaForm& form) {
        const int before = form.height();
        form.ResizeGraphArea();
        // A size set in the options or read from a project changes the
        // window as the user's resizing does: the data panel stays as high.
        if (form.height() != before && Forms.DataPanel)
            Forms.DataPanel->resize(Forms.DataPanel->width(), form.height());
    });
}

const QImage* TGraphRedrawWindow::BackgroundPicture()
{
    if (!Forms.GraphAreaForm || Forms.GraphAreaForm->BImage.isNull())
        return nullptr;
    return &Forms.GraphAreaForm->BImage;
}

void TGraphRedrawWindow::RecordView()
{
    PushViewHistory();
}

void TWindowProjectHost::UpdateStretchButton()
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.UpdateStretchButton(); });
}

void TWindowProjectHost::LoadBackgroundFile(const QString& path)
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.LoadBackgroundFile(path); });
}

void TWindowProjectHost::SetAxisOnButton(bool down)
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.tbAxisOn->setChecked(down); });
}

void TWindowProjectHost::UpdateViewHistoryControls()
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.UpdateViewButtons(); });
}

bool TWindowProjectHost::SuppressesViewHistory()
{
    return IsGraphMouseDragging();
}

namespace {

// The ruler stretched over an image of the strip's light grey.
QPixmap RulerPixmap(const TMetafile& ruler, QSize image, const TRect& dest)
{
    TBitmap picture(std::max(1, image.width()), std::max(1, image.height()));
    picture.Image().fill(ToQColor(0xE0E0E0));
    picture.Canvas().StretchDraw(dest, ruler);
    return QPixmap::fromImage(picture.Image());
}

} // namespace

void TWindowAxisPanelsHost::SizeRulerPanels(const TRulerPanelSizes& panels)
{
    TGraphAreaForm* form = Forms.GraphAreaForm;
    if (!form)
        return;
    form->panelYaxis->resize(panels.YPanelWidth, form->panelYaxis->height());
    form->panelXAxis->resize(form->panelXAxis->width(), panels.XPanelHeight);
    const TRulerImageSizes images =
        RulerImagesOfPanels(panels, GraphScale.XAxis.VHigh, GraphScale.YAxis.VHigh);
    form->ImgYaxis->resize(images.Y);
    form->imgXaxis->resize(images.X);
}

std::optional<TRulerImageSizes> TWindowAxisPanelsHost::RulerImageSizes()
{
    TGraphAreaForm* form = Forms.GraphAreaForm;
    if (!form)
        return std::nullopt;
    return TRulerImageSizes{form->imgXaxis->size(), form->ImgYaxis->size()};
}

void TWindowAxisPanelsHost::SetRangeTexts(const QString& x, const QString& y)
{
    TGraphAreaForm* form = Forms.GraphAreaForm;
    if (!form)
        return;
    form->imgXaxis->setToolTip(x);
    form->ImgYaxis->setToolTip(y);
}

void TWindowAxisPanelsHost::ShowRulers(const TMetafile& xRuler, const TMetafile& yRuler)
{
    TGraphAreaForm* form = Forms.GraphAreaForm;
    if (!form)
        return;
    const QSize x = form->imgXaxis->size();
    const QSize y = form->ImgYaxis->size();
    form->imgXaxis->setPixmap(RulerPixmap(xRuler, x, {0, 0, GraphScale.XAxis.VHigh + 1, x.height()}));
    form->ImgYaxis->setPixmap(RulerPixmap(yRuler, y, {0, 0, y.width(), GraphScale.YAxis.VHigh + 1}));
}

void TWindowAxisPanelsHost::ArrangePanels()
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.ArrangePanels(); });
}

void TWindowProjectHost::RefreshRows()
{
    if (Forms.MainConsole)
        Forms.MainConsole->ShowAllRows();
}

void TWindowProjectHost::ArrangePanels()
{
    if (Forms.MainConsole)
        Forms.MainConsole->ArrangePanels();
}

void TGraphStickerWindow::ShowSticker(int k, const QImage& picture)
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.ShowSticker(k, picture); });
}

void TGraphStickerWindow::HideSticker(int k)
{
    OnGraphWindow([&](TGraphAreaForm& form) { form.HideSticker(k); });
}

void TGraphStickerWindow::PlaceStickers()
{
    OnGraphWindow([](TGraphAreaForm& form) { form.PlaceStickers(); });
}

void TWindowProjectHost::UpdateUndoControls(bool canUndo, bool canRedo)
{
    ::UpdateUndoControls(canUndo, canRedo);
}

QImage TGraphPictureWindows::CaptureWindows(int mode)
{
    TGraphAreaForm* graph = Forms.GraphAreaForm;
    if (!graph)
        return {};
    return mode == CaptureBothWindows ? graph->CaptureBothWindows() : graph->CaptureGraphImage();
}

QString TGraphPictureWindows::GraphCaption()
{
    return Forms.GraphAreaForm ? Forms.GraphAreaForm->windowTitle() : QStringLiteral("KAVIRO");
}
