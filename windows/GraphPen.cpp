#include "windows/GraphPen.h"

#include "dialogs/FmSetColor.h"
#include "dialogs/PermanentForms.h"
#include "model/MessageBox.h"
#include "model/Options.h"
#include "model/Settings.h"
#include "render/scene/FreePen.h"
#include "render/scene/RedrawParticipants.h"
#include "render/view/DrawContext.h"
#include "render/view/Scale.h"
#include "session/FreePenOptions.h"
#include "windows/GraphAreaForm.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>

namespace {

const QString PenHint = QStringLiteral("Botão Esquerdo : Desenhar, Botão Direito : Limpar");
const QString ClearMarksQuestion = QStringLiteral("Limpar todas as marcas com [OK]");
// The palette shows near the graph's top and hides this far below its edge.
constexpr int PaletteReach = 10;

// Our own cursors: a pen whose tip is the hot spot, and an eraser whose
// middle is.
QCursor PenCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    const QPoint body[] = {{2, 29}, {4, 23}, {22, 5}, {26, 9}, {8, 27}};
    p.drawPolygon(body, 5);
    p.setBrush(Qt::black);
    const QPoint tip[] = {{2, 29}, {4, 25}, {6, 27}};
    p.drawPolygon(tip, 3);
    return QCursor(pixmap, 2, 29);
}

QCursor EraserCursor()
{
    QPixmap pixmap(2 * PenEraserReach + 1, 2 * PenEraserReach + 1);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 255, 255, 96));
    p.drawRect(0, 0, 2 * PenEraserReach, 2 * PenEraserReach);
    return QCursor(pixmap, PenEraserReach, PenEraserReach);
}

// The graph picture's canvas with its copy mode put back afterwards.
class CopyModeKeeper {
public:
    explicit CopyModeKeeper(TCanvas& canvas)
        : canvas_(canvas)
        , mode_(canvas.CopyMode)
    {
    }
    ~CopyModeKeeper() { canvas_.CopyMode = mode_; }
    CopyModeKeeper(const CopyModeKeeper&) = delete;
    CopyModeKeeper& operator=(const CopyModeKeeper&) = delete;

private:
    TCanvas& canvas_;
    TCopyMode mode_;
};

class TGraphPen final : public QObject, public TRedrawParticipant {
public:
    explicit TGraphPen(TGraphAreaForm& form);

    // The redraw's steps: the marks go with the view they were made on; they
    // are painted over every new graph, which becomes the clean picture
    // erasing restores from; and into pictures at their magnification.
    void ViewChanged() override { pen().Clear(); }
    void OverBackground(TCanvas& canvas) override;
    void ComposeScene(TCanvas& canvas) override { pen().DrawAll(canvas, CurrentDrawContext()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TfreePen& pen() { return form_.FreePen; }
    TBitmap& graph() { return GraphScale.GraphImages[0]; }
    bool IsOn() const { return form_.tbFreePen->isChecked(); }

    void tbFreePenClick(bool on);
    // The clean picture erasing restores from.
    void DrawPenOverlay(const QImage& picture) { form_.PenOverlay.Assign(picture); }
    void sbFPColorMouseMove();
    void SbFPWidthMouseMove();
    void ShowPenGlyphs();
    void sbFEraserClick();

    void MouseDown(Qt::MouseButton button, QPoint at);
    void MouseMove(QPoint at);
    void MouseUp();
    void PaintPoint(QPoint at);
    void ErasePoint(QPoint at);
    void PaletteMouseAt(QPoint at);

    TGraphAreaForm& form_;
    QCursor penCursor_ = PenCursor();
    QCursor eraserCursor_ = EraserCursor();
    QCursor cursorBefore_;
    bool drawing_ = false;
    bool erasing_ = false;
    // The palette writes these; the choice goes to the document's options.
    std::uint8_t colorNo_ = 0;
    std::uint8_t size_ = 3;
    TRedrawParticipation takesPart_{*this, TRedrawOrder::Pen};
};

TGraphPen::TGraphPen(TGraphAreaForm& form)
    : QObject(&form)
    , form_(form)
{
    form_.tbFreePen->setEnabled(true);
    form_.GImage->installEventFilter(this);
    for (QToolButton* button : {form_.sbFPColor, form_.SbFPWidth})
        button->installEventFilter(this);
    QObject::connect(form_.tbFreePen, &QToolButton::toggled, this, [this](bool on) { tbFreePenClick(on); });
    QObject::connect(form_.sbFPColor, &QToolButton::clicked, this, [this] { sbFPColorMouseMove(); });
    QObject::connect(form_.SbFPWidth, &QToolButton::clicked, this, [this] { SbFPWidthMouseMove(); });
    QObject::connect(form_.sbFEraser, &QToolButton::clicked, this, [this] { sbFEraserClick(); });
}

void TGraphPen::OverBackground(TCanvas& canvas)
{
    if (!IsOn() && pen().IsEmpty())
        return;
    DrawPenOverlay(graph().Image());
    pen().DrawAll(canvas);
}

void TGraphPen::tbFreePenClick(bool on)
{
    drawing_ = false;
    if (on) {
        ShowPenGlyphs();
        form_.sbFEraser->setDown(false);
        form_.GImage->setToolTip(PenHint);
        form_.GImage->setStatusTip(PenHint);
        cursorBefore_ = form_.GImage->cursor();
        form_.GImage->setCursor(penCursor_);
        form_.panelFreePen->show();
        if (pen().IsEmpty())
            DrawPenOverlay(graph().Image());
        return;
    }
    form_.GImage->setToolTip(QString());
    form_.GImage->setStatusTip(QString());
    form_.GImage->setCursor(cursorBefore_);
    form_.panelFreePen->hide();
    if (form_.GImage->mouseGrabber() == form_.GImage)
        form_.GImage->releaseMouse();
}

void TGraphPen::ShowPenGlyphs()
{
    colorNo_ = Options.PenMarker.ColorNo;
    size_ = Options.PenMarker.Size;
    if (TFmSetColor* palette = Forms.FmSetColor) {
        palette->SetFreePenColorGlyph(form_.sbFPColor, colorNo_);
        palette->SetWidthGlyph(form_.SbFPWidth, size_);
    }
}

void TGraphPen::sbFPColorMouseMove()
{
    TFmSetColor* palette = Forms.FmSetColor;
    if (!palette)
        return;
    colorNo_ = Options.PenMarker.ColorNo;
    palette->ShowFreePenColorPanel(colorNo_, form_.sbFPColor);
    palette->OnChosen = [this] { SetPenMarker(colorNo_, Options.PenMarker.Size); };
}

void TGraphPen::SbFPWidthMouseMove()
{
    TFmSetColor* palette = Forms.FmSetColor;
    if (!palette)
        return;
    size_ = Options.PenMarker.Size;
    palette->ShowWidthPanel(size_, form_.SbFPWidth, false);
    palette->OnChosen = [this] { SetPenMarker(Options.PenMarker.ColorNo, size_); };
}

void TGraphPen::sbFEraserClick()
{
    if (!ShowMsgBox(ClearMarksQuestion, MsgWarning, MsgOkCancel))
        return;
    form_.tbFreePen->setChecked(false);
    pen().Clear();
    graph().Assign(form_.PenOverlay.Image());
    form_.RepaintGraph();
}

bool TGraphPen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_.sbFPColor || watched == form_.SbFPWidth) {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
            watched == form_.sbFPColor ? sbFPColorMouseMove() : SbFPWidthMouseMove();
        return false;
    }
    if (watched != form_.GImage || !IsOn())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* e = static_cast<QMouseEvent*>(event);
        MouseDown(e->button(), e->position().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    case QEvent::MouseButtonRelease:
        MouseUp();
        return true;
    // The double click and the graph's menu rest while the pen is on.
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

void TGraphPen::MouseDown(Qt::MouseButton button, QPoint at)
{
    if (drawing_)
        return;
    drawing_ = true;
    erasing_ = button == Qt::RightButton;
    QToolTip::hideText();
    form_.GImage->setCursor(erasing_ ? eraserCursor_ : penCursor_);
    form_.GImage->grabMouse();
    PaintPoint(at);
}

void TGraphPen::MouseMove(QPoint at)
{
    form_.LastMousePixel = at;
    if (drawing_) {
        PaintPoint(at);
        return;
    }
    form_.GImage->setCursor(penCursor_);
    PaletteMouseAt(at);
}

void TGraphPen::MouseUp()
{
    if (!drawing_)
        return;
    drawing_ = false;
    form_.GImage->releaseMouse();
    form_.GImage->setCursor(penCursor_);
}

void TGraphPen::PaintPoint(QPoint at)
{
    if (erasing_) {
        ErasePoint(at);
        return;
    }
    const TPenMarker& marker = Options.PenMarker;
    if (pen().Add(at.x(), at.y(), marker.Size, marker.ColorNo))
        pen().DrawLast(graph().Canvas());
    form_.RepaintGraph();
}

// The square's copy covers 2 × 16 pixels (its right and bottom edges are
// left out); the marks go whose centres lie in it, edges included.
void TGraphPen::ErasePoint(QPoint at)
{
    const QImage& clean = form_.PenOverlay.Image();
    const QRect square =
        QRect(at.x() - PenEraserReach, at.y() - PenEraserReach, 2 * PenEraserReach, 2 * PenEraserReach)
            .intersected(clean.rect());
    if (!square.isEmpty()) {
        TCanvas& canvas = graph().Canvas();
        const CopyModeKeeper keep(canvas);
        canvas.CopyMode = TCopyMode::SrcCopy;
        canvas.Draw(square.x(), square.y(), clean.copy(square));
    }
    pen().EraseRect(at.x() - PenEraserReach, at.y() - PenEraserReach, at.x() + PenEraserReach,
                    at.y() + PenEraserReach);
    form_.RepaintGraph();
}

// With the palette hiding itself: shown near the graph's top, hidden again
// once the mouse is well below it.
void TGraphPen::PaletteMouseAt(QPoint at)
{
    if (!ProgramSettings.ControlPalette)
        return;
    QTabWidget* palette = form_.PageControl;
    if (at.y() < PaletteReach) {
        palette->show();
        palette->raise();
    } else if (at.y() > palette->height() + PaletteReach) {
        palette->hide();
    }
}

} // namespace

void InstallGraphPen(TGraphAreaForm& form)
{
    new TGraphPen(form);
}

void RemoveGraphPen(TGraphAreaForm& form)
{
    const QObjectList children = form.children();
    for (QObject* child : children)
        delete dynamic_cast<TGraphPen*>(child);
}
