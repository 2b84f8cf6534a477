#include "dialogs/CalcPreview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

TCalcPreview::TCalcPreview(QWidget* panel)
    : QWidget(panel)
{
    setObjectName(QStringLiteral("ImageView"));
    setCursor(Qt::SizeHorCursor);
}

void TCalcPreview::SetPicture(const QImage& picture)
{
    picture_ = picture;
    resize(picture.size());
    update();
}

void TCalcPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void TCalcPreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragging_ = true;
    startX_ = event->globalPosition().toPoint().x();
    startLeft_ = x();
}

void TCalcPreview::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_ || !parentWidget())
        return;
    const int dx = event->globalPosition().toPoint().x() - startX_;
    move(DraggedPreviewLeft(parentWidget()->width(), width(), startLeft_, dx), y());
}

void TCalcPreview::mouseReleaseEvent(QMouseEvent*)
{
    dragging_ = false;
}

int PreviewLeft(int panelWidth, int drawingWidth, int pictureWidth, int currentLeft)
{
    if (panelWidth > drawingWidth + 20)
        return 1;
    if (currentLeft + pictureWidth < 200)
        return 200 - pictureWidth;
    return currentLeft;
}

int DraggedPreviewLeft(int panelWidth, int pictureWidth, int startLeft, int dx)
{
    const int left = std::max(startLeft + dx, panelWidth - pictureWidth);
    return std::min(left, 1);
}
