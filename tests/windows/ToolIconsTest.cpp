// The tool pictures: each one is drawn and tells itself apart, every
// palette button shows one, and the background buttons show the picture of
// their number.
#include "WindowTestKit.h"

#include "windows/ToolIcons.h"

#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <set>

namespace {

QImage Picture(const QIcon& icon, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(16, 16), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int InkedPixels(const QImage& picture)
{
    int inked = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            inked += qAlpha(picture.pixel(x, y)) > 128;
    return inked;
}

int Colours(const QImage& picture)
{
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.insert(picture.pixel(x, y));
    return int(colours.size());
}

const std::set<int>& PictureNumbers()
{
    static const std::set<int> numbers = [] {
        std::set<int> all{0, 1, 2, 3, 10, 11, 12};
        for (int n = int(ToolIcon::ZoomIn); n <= int(ToolIcon::LastToolIcon); ++n)
            all.insert(n);
        return all;
    }();
    return numbers;
}

class ToolIconsTest : public WindowTest {};

TEST_F(ToolIconsTest, EveryPictureIsDrawnAndDiffersFromTheOthers)
{
    std::vector<QImage> seen;
    for (int n : PictureNumbers()) {
        const QImage picture = Picture(ToolIconAt(n));
        ASSERT_EQ(picture.size(), QSize(16, 16)) << n;
        // Neither empty nor a plain square: a picture at a glance.
        EXPECT_GT(InkedPixels(picture), 16) << n;
        EXPECT_GE(Colours(picture), 3) << n;
        for (const QImage& other : seen)
            EXPECT_NE(picture, other) << "picture " << n << " repeats another";
        seen.push_back(picture);
    }
    for (int unknown : {-1, 4, 9, 13, 19, int(ToolIcon::LastToolIcon) + 1})
        EXPECT_TRUE(ToolIconAt(unknown).isNull()) << unknown;
}

TEST_F(ToolIconsTest, PaletteButtonsShowPicturesAndDisabledOnesAGreyedOne)
{
    StartProgram();
    for (QToolButton* button : Graph().PageControl->findChildren<QToolButton*>()) {
        if (button->parentWidget() == static_cast<QWidget*>(Graph().PageControl->tabBar()))
            continue; // the tab bar's own scroll buttons
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_GT(InkedPixels(Picture(button->icon())), 16);
    }
    // The view history is empty at the start: undo is off but still drawn.
    ASSERT_FALSE(Graph().tbUndo->isEnabled());
    const QImage disabled = Picture(Graph().tbUndo->icon(), QIcon::Disabled);
    EXPECT_GT(InkedPixels(disabled), 16);
    EXPECT_NE(disabled, Picture(Graph().tbUndo->icon()));
}

TEST_F(ToolIconsTest, BackgroundButtonsShowThePictureOfTheirNumber)
{
    StartProgram();
    for (int image : {0, 1, 2, 3, 10, 11, 12}) {
        TGraphAreaForm::SetButtonImage(Graph().sbStretch, image);
        EXPECT_EQ(Picture(Graph().sbStretch->icon()), Picture(ToolIconAt(image))) << image;
    }
}

} // namespace
