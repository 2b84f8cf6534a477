#pragma once

#include <QImage>
#include <QWidget>

// The calculator's typeset preview: a picture inside its panel that the
// left mouse button drags sideways, so that a formula wider than the panel
// can be read to its end.
class TCalcPreview final : public QWidget {
public:
    explicit TCalcPreview(QWidget* panel);

    // Shows the picture at its own size.
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    bool Dragging() const { return dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool dragging_ = false;
    int startX_ = 0;
    int startLeft_ = 0;
};

// Where a picture of the width goes in a panel of panelWidth when the
// formula is drawn anew: a picture that fits sits at 1; a wider one keeps
// its place but is not left with its right end short of 200 pixels.
int PreviewLeft(int panelWidth, int drawingWidth, int pictureWidth, int currentLeft);

// Where dragging by dx from startLeft puts a picture of the width: its left
// edge at most 1 and its right end not left of the panel's width.
int DraggedPreviewLeft(int panelWidth, int pictureWidth, int startLeft, int dx);
