#include "windows/GraphMouse.h"

#include "dialogs/CfxProperty.h"
#include "dialogs/FormLook.h"
#include "dialogs/PermanentForms.h"
#include "dialogs/PntProperty.h"
#include "dialogs/SegProperty.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "platform/Desktop.h"
#include "render/gfx/ColorConvert.h"
#include "session/MouseDrag.h"
#include "session/RowModels.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QAction>
#include <QGridLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QWidgetAction>

namespace {

// A cursor drawn here: the grabbing hand over a draggable object, and the
// ringed cross over a point in the segment tool.
QCursor DrawnCursor(bool pickUp)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    if (pickUp) {
        // Four fingers and a palm, hot spot at the fingertips' middle.
        p.setBrush(Qt::white);
        for (int i = 0; i < 4; ++i)
            p.drawRect(9 + 4 * i, 6 + (i == 0 || i == 3 ? 3 : 0), 3, 10);
        p.drawRect(9, 15, 15, 9);
        p.drawRect(4, 14, 5, 4);
        return QCursor(pixmap, 16, 8);
    }
    p.drawLine(16, 4, 16, 28);
    p.drawLine(4, 16, 28, 16);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(16, 16), 5, 5);
    return QCursor(pixmap, 16, 16);
}

// A one-pixel line over an axis strip that follows the mouse.
QWidget* NewAxisMark(QWidget* strip)
{
    auto* mark = new QWidget(strip);
    mark->setObjectName(QStringLiteral("AxisCursor"));
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    FillBackground(*mark, ColorBlack);
    mark->hide();
    return mark;
}

bool DataPanelEnabled()
{
    return Forms.DataPanel && Forms.DataPanel->isEnabled();
}

class TGraphMouse final : public QObject, public TMouseSurface {
public:
    explicit TGraphMouse(TGraphAreaForm& form);
    ~TGraphMouse() override;

    TGraphMouseWork Work{*this};

    void RepaintGraph() override { form_.GImage->update(); }
    void ShowAreaImage(const QImage& copy) override;
    void PlaceAreaImage(const TPixelRect& rect) override;
    void HideAreaImage() override { form_.MImage->hide(); }
    void SetCursorShape(TGraphCursor cursor) override;
    void WarpPointer(QPoint pixel) override
    {
        platform::CurrentPointerWarp().warpPointer(form_.GImage->mapToGlobal(pixel));
    }
    void ShowStatus(const QString& position, const QString& hint) override
    {
        form_.SBarPanel0->setText(position);
        form_.SBarPanel1->setText(hint);
    }
    void MoveAxisCursors(QPoint pixel) override;
    void ShowAreaTool(int mode) override;
    void SetStickersEnabled(bool enabled) override { form_.SetStickersEnabled(enabled); }
    bool ReadOutWanted() override
    {
        return form_.sbShowPosition->isChecked() || form_.sbShowEquation->isChecked();
    }
    void ShowReadOut(QPoint mouse, const QString& coordinates, const THoverTarget& target,
                     TGraphCursor cursor) override;
    void FigureAdded(int s) override { ShowSegProperty(s); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectAreaButtons();
    void ConnectGraphMenu();
    void GraphMenuOpening();
    void FillPointMenu();
    void P1Click(int k);
    void ZoomMenuClick(long double factor);

    TGraphAreaForm& form_;
    QWidget* xMark_;
    QWidget* yMark_;
    QCursor pickUp_ = DrawnCursor(true);
    QCursor overPoint_ = DrawnCursor(false);
    TPopupTargets targets_;
};

TGraphMouse* Installed = nullptr;

TGraphMouse::TGraphMouse(TGraphAreaForm& form)
    : QObject(&form), form_(form), xMark_(NewAxisMark(form.imgXaxis)), yMark_(NewAxisMark(form.ImgYaxis))
{
    form_.GImage->setMouseTracking(true);
    form_.GImage->setCursor(Qt::CrossCursor);
    form_.GImage->installEventFilter(this);
    form_.MImage->setScaledContents(true);
    form_.MImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    ConnectAreaButtons();
    ConnectGraphMenu();
}

TGraphMouse::~TGraphMouse()
{
    if (Installed == this)
        Installed = nullptr;
}

bool TGraphMouse::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != form_.GImage)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        form_.LastMousePixel = e->position().toPoint();
        Work.GImageMouseDown(e->button(), e->modifiers(), form_.LastMousePixel);
        break;
    }
    // The second press of a double click has come as a press already.
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Work.GImageDblClick();
        break;
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        form_.LastMousePixel = e->position().toPoint();
        Work.GImageMouseMove(e->modifiers(), form_.LastMousePixel);
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        Work.GImageMouseUp(e->button(), e->modifiers(), e->position().toPoint());
        break;
    }
    case QEvent::Leave:
        xMark_->hide();
        yMark_->hide();
        break;
    default:
        break;
    }
    return false;
}

void TGraphMouse::ShowAreaImage(const QImage& copy)
{
    // Over a background picture the copy is the graph as composed on screen.
    const bool background = Options.BGshown && !form_.BImage.isNull();
    QImage framed = background ? form_.PanelGraph->grab(form_.GImage->geometry()).toImage() : copy;
    {
        QPainter p(&framed);
        p.setPen(QPen(ToQColor(0x808080), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(0, 0, framed.width() - 1, framed.height() - 1));
    }
    form_.MImage->setPixmap(QPixmap::fromImage(framed));
    form_.MImage->raise();
    form_.MImage->show();
}

void TGraphMouse::PlaceAreaImage(const TPixelRect& rect)
{
    const QPoint origin = form_.GImage->pos();
    form_.MImage->setGeometry(origin.x() + rect.Left, origin.y() + rect.Top, std::max(1, rect.Right - rect.Left),
                              std::max(1, rect.Bottom - rect.Top));
}

void TGraphMouse::SetCursorShape(TGraphCursor cursor)
{
    switch (cursor) {
    case TGraphCursor::PickUp:
        form_.GImage->setCursor(pickUp_);
        break;
    case TGraphCursor::OverPoint:
        form_.GImage->setCursor(overPoint_);
        break;
    case TGraphCursor::Resize:
        form_.GImage->setCursor(Qt::SizeHorCursor);
        break;
    case TGraphCursor::Cross:
        form_.GImage->setCursor(Qt::CrossCursor);
        break;
    }
}

void TGraphMouse::MoveAxisCursors(QPoint pixel)
{
    xMark_->setGeometry(pixel.x(), 0, 1, form_.imgXaxis->height());
    yMark_->setGeometry(0, pixel.y(), form_.ImgYaxis->width(), 1);
    xMark_->show();
    yMark_->show();
}

void TGraphMouse::ShowAreaTool(int mode)
{
    form_.sbtnzoom->setChecked(mode == AreaZoomIn);
    form_.sbtnwide->setChecked(mode == AreaZoomOut);
    form_.sbtnmove->setChecked(mode == AreaMove);
}

void TGraphMouse::ShowReadOut(QPoint mouse, const QString& coordinates, const THoverTarget& target,
                              TGraphCursor cursor)
{
    const bool position = form_.sbShowPosition->isChecked();
    const bool equation = form_.sbShowEquation->isChecked();
    QLabel* label = form_.labelCoodinates;
    label->setVisible(position && cursor != TGraphCursor::Cross);
    if (!position && !equation) {
        form_.CoImage->hide();
        return;
    }
    const QPoint origin = form_.GImage->pos();
    const int graphRight = origin.x() + form_.GImage->width();
    QFont font = label->font();
    font.setPointSize(RowMetrics.RowSize);
    label->setFont(font);
    label->setText(coordinates);
    label->adjustSize();
    int left = origin.x() + mouse.x() + 20;
    if (left + label->width() > graphRight)
        left = graphRight - label->width();
    label->move(left, origin.y() + mouse.y() + 8);
    label->raise();
    if (target.Name.isEmpty() || !equation) {
        form_.CoImage->hide();
        return;
    }
    const QImage picture = ReadOutPicture(target, RowMetrics.RowSize);
    QLabel* image = form_.CoImage;
    image->setPixmap(QPixmap::fromImage(picture));
    image->resize(picture.size());
    int imageLeft = origin.x() + mouse.x() + 18;
    if (imageLeft + picture.width() > graphRight)
        imageLeft = std::max(origin.x(), graphRight - picture.width());
    const int top = position ? label->y() + label->height() : label->y();
    image->move(imageLeft, top);
    image->raise();
    image->show();
}

void TGraphMouse::ConnectAreaButtons()
{
    const std::pair<QToolButton*, int> tools[] = {
        {form_.sbtnzoom, AreaZoomIn}, {form_.sbtnwide, AreaZoomOut}, {form_.sbtnmove, AreaMove}};
    for (const auto& [button, tool] : tools)
        QObject::connect(button, &QToolButton::clicked, this, [this, tool](bool down) {
            if (Forms.MainConsole && Forms.MainConsole->sbsegment)
                Forms.MainConsole->sbsegment->setChecked(false);
            Work.sbtnzoomClick(tool, down);
        });
}

void TGraphMouse::ConnectGraphMenu()
{
    for (QAction* item : form_.MnZoom->actions()) {
        const long double factor = ZoomMenuFactor(item->objectName());
        if (factor != 0.0L)
            QObject::connect(item, &QAction::triggered, this, [this, factor] { ZoomMenuClick(factor); });
    }
    QObject::connect(form_.PopupMenuGraph, &QMenu::aboutToShow, this, [this] { GraphMenuOpening(); });
    QObject::connect(form_.MnPntProperty, &QAction::triggered, this, [this] {
        if (DataPanelEnabled())
            ShowPntProperty(targets_.Object, 3);
    });
    QObject::connect(form_.MnCrvProperty, &QAction::triggered, this, [this] {
        if (DataPanelEnabled())
            ShowPntProperty(targets_.Curve, 3);
    });
    QObject::connect(form_.MnSegProperty, &QAction::triggered, this, [this] {
        if (DataPanelEnabled())
            ShowSegProperty(targets_.Figure);
    });
    QObject::connect(form_.MnYfxProperty, &QAction::triggered, this, [this] {
        if (DataPanelEnabled())
            ShowYfxProperty(targets_.Function);
    });
    QObject::connect(form_.MnCfnProperty, &QAction::triggered, this, [this] {
        if (DataPanelEnabled())
            ShowCfnProperty(targets_.Relation);
    });
}

void TGraphMouse::GraphMenuOpening()
{
    targets_ = PopupTargetsAt(GraphScale, form_.LastMousePixel);
    form_.MnPntProperty->setVisible(targets_.Object != 0);
    form_.MnSegProperty->setVisible(targets_.Figure != 0);
    form_.MnYfxProperty->setVisible(targets_.Function != 0);
    form_.MnCfnProperty->setVisible(targets_.Relation != 0);
    form_.MnCrvProperty->setVisible(targets_.Curve != 0);
    FillPointMenu();
}

// QMenu has no column break: the letters sit in a grid inside one widget
// item, in columns of breakAt - 1 rows.
void TGraphMouse::FillPointMenu()
{
    QMenu* menu = form_.MnGetPoint;
    menu->clear();
    const std::vector<int> slots = EmptyPointSlots();
    menu->menuAction()->setEnabled(!slots.empty());
    if (slots.empty())
        return;
    const int breakAt = PointMenuColumnBreak(static_cast<int>(slots.size()));
    const int rows = breakAt == 0 ? static_cast<int>(slots.size()) : breakAt - 1;
    auto* grid = new QWidget(menu);
    grid->setObjectName(QStringLiteral("PointGrid"));
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    for (int i = 0; i < static_cast<int>(slots.size()); ++i) {
        const int k = slots[static_cast<std::size_t>(i)];
        auto* item = new QToolButton(grid);
        item->setObjectName(QString(PointLetter(k)) + u'1');
        item->setText(QString(PointLetter(k)));
        item->setAutoRaise(true);
        item->setMinimumWidth(32);
        item->setProperty("objectNumber", k);
        QObject::connect(item, &QToolButton::clicked, this, [this, k] {
            form_.PopupMenuGraph->close();
            P1Click(k);
        });
        layout->addWidget(item, i % rows, i / rows);
    }
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(grid);
    menu->addAction(action);
}

void TGraphMouse::P1Click(int k)
{
    if (!PlacePointAt(GraphScale, k, form_.LastMousePixel))
        return;
    if (Options.ShowProperty)
        ShowPntProperty(k, 3);
}

void TGraphMouse::ZoomMenuClick(long double factor)
{
    Work.CurX = form_.LastMousePixel.x();
    Work.CurY = form_.LastMousePixel.y();
    Work.ZoomAtMouse(factor);
}

} // namespace

void InstallGraphMouse(TGraphAreaForm& form)
{
    Installed = new TGraphMouse(form);
}

void RemoveGraphMouse(TGraphAreaForm& form)
{
    const QObjectList children = form.children();
    for (QObject* child : children)
        delete dynamic_cast<TGraphMouse*>(child);
}

bool IsGraphMouseDragging()
{
    return IsViewRecordingSuppressed();
}

void SetAreaMode(int tool)
{
    if (Installed)
        Installed->Work.SetAreaMode(tool);
}

int AreaMode()
{
    return Installed ? Installed->Work.AreaMode : 0;
}
