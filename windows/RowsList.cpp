#include "windows/RowsList.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <array>

TRowPicture::TRowPicture(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TRowPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, Image);
}

void TRowPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (RightClicked)
            RightClicked(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    dragged_ = false;
    pressPos_ = event->position().toPoint();
}

void TRowPicture::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_ || dragged_)
        return;
    if ((event->position().toPoint() - pressPos_).manhattanLength() <= DragStartDistance)
        return;
    dragged_ = true;
    pressed_ = false;
    if (DragStarted)
        DragStarted();
}

void TRowPicture::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && !dragged_ && event->button() == Qt::LeftButton;
    pressed_ = false;
    if (click && Clicked)
        Clicked();
}

void TRowPicture::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && DoubleClicked)
        DoubleClicked();
}

namespace {

void MoveTo(QWidget* w, int top)
{
    if (w)
        w->move(w->x(), top);
}

void SetVisible(QWidget* w, bool visible)
{
    if (w)
        w->setVisible(visible);
}

} // namespace

void TYfxList::SetTop(int top)
{
    SetTopPair(top);
    MoveTo(Edit, top);
}

void TYfxList::Show()
{
    ShowPair();
    SetVisible(Edit, true);
}

void TYfxList::Hide()
{
    HidePair();
    SetVisible(Edit, false);
}

void TYfxList::SetEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(Button), Edit})
        if (w)
            w->setEnabled(enabled);
}

void TYfxList::SetTopPair(int top)
{
    MoveTo(Button, top);
    MoveTo(Image, top);
}

void TYfxList::ShowPair()
{
    SetVisible(Button, true);
    SetVisible(Image, true);
}

void TYfxList::HidePair()
{
    SetVisible(Button, false);
    SetVisible(Image, false);
}

void TPrmList::SetTop(int top)
{
    for (QWidget* w : {static_cast<QWidget*>(Letter), static_cast<QWidget*>(Edit), static_cast<QWidget*>(StepEdit)})
        MoveTo(w, top);
    for (QToolButton* w : {Fix, Down, Up, Mode})
        MoveTo(w, top + 2);
    MoveTo(Dup, top + 2);
    if (Dup && DDwn)
        MoveTo(DDwn, Dup->y() + Dup->height());
}

void TPrmList::ShowEditing()
{
    for (QWidget* w : std::array<QWidget*, 9>{Letter, Edit, Fix, Down, Up, StepEdit, Mode, Dup, DDwn})
        SetVisible(w, true);
    Letter->setChecked(false);
    // Read-only and back keeps the selection: only the flag changes.
    Edit->setReadOnly(false);
}

void TPrmList::HideEditing()
{
    SetVisible(Letter, true);
    SetVisible(Edit, true);
    SetVisible(Fix, true);
    for (QWidget* w : std::array<QWidget*, 6>{Down, Up, StepEdit, Mode, Dup, DDwn})
        SetVisible(w, false);
    Letter->setChecked(true);
    Edit->setReadOnly(true);
}

void TPrmList::HideAll()
{
    for (QWidget* w : std::array<QWidget*, 9>{Letter, Edit, Fix, Down, Up, StepEdit, Mode, Dup, DDwn})
        SetVisible(w, false);
}
