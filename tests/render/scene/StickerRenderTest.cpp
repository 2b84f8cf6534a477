// The note stickers rendered for the screen and drawn into pictures of the
// scene: their look in each style, where they go on the graph, and one
// drawer for both.
#include "render/scene/Stickers.h"

#include "engine/EngineStartup.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "render/gfx/Bitmap.h"
#include "render/gfx/ColorConvert.h"
#include "render/gfx/Metafile.h"
#include "tests/QtPrinters.h"
#include "tests/render/GoldenFiles.h"

#include <QBitmap>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using namespace Qt::Literals::StringLiterals;

constexpr TImageTolerance TextTolerance{48, 0.02};
const QSize Graph(400, 300);

class StickerRenderTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeEngine(); }

    static TStickerLook Look(std::uint8_t style)
    {
        TStickerLook look = CurrentStickerLook();
        look.Style = style;
        return look;
    }
    static QStringList Lines() { return {u"Nota"_s, u"a = !{a|3}"_s, u"<B>x</B><sup>2</sup> + <RED>y</RED>"_s}; }

    // The picture as the graph window shows it: its see-through colour lets
    // what lies under it show.
    static QImage OverBackground(const QImage& picture, const QColor& background)
    {
        QImage shown(picture.size(), QImage::Format_RGB32);
        shown.fill(background);
        QPixmap keyed = QPixmap::fromImage(picture);
        keyed.setMask(keyed.createMaskFromColor(ToQColor(StickerSeeThroughColor), Qt::MaskInColor));
        QPainter painter(&shown);
        painter.drawPixmap(0, 0, keyed);
        return shown;
    }
};

TEST_F(StickerRenderTest, EachStyleLooksAsReviewed)
{
    // Side by side over a pink graph: text only, frame, filled frame, fill
    // without frame; then the filled frame in black and white.
    QImage sheet(4 * 150 + 150, 90, QImage::Format_RGB32);
    sheet.fill(QColor(255, 200, 220));
    QPainter painter(&sheet);
    for (std::uint8_t style = 1; style <= 4; ++style) {
        const std::optional<TStickerPicture> sticker = RenderSticker(Lines(), {}, false, Graph, Look(style));
        ASSERT_TRUE(sticker);
        painter.drawImage((style - 1) * 150, 0, OverBackground(sticker->Image, QColor(255, 200, 220)));
    }
    SetMonochromeColorScheme();
    Options.PetaMemoColor = 0x0000FF;
    const std::optional<TStickerPicture> mono = RenderSticker(Lines(), {}, false, Graph, Look(3));
    SetNormalColorScheme();
    ASSERT_TRUE(mono);
    painter.drawImage(4 * 150, 0, OverBackground(mono->Image, QColor(255, 200, 220)));
    painter.end();
    EXPECT_TRUE(MatchesImageGolden(sheet, u"scene/sticker-styles.png"_s, TextTolerance));
}

TEST_F(StickerRenderTest, NothingWithoutLinesOrWithStyleZero)
{
    EXPECT_FALSE(RenderSticker({}, {}, true, Graph, Look(3)));
    EXPECT_FALSE(RenderSticker(Lines(), {}, true, Graph, Look(0)));
}

// A sticker picture's inside: see-through where the graph shows (outside
// the frame, inside a frame without fill, all of text only); a filled
// inside stays, white as it is.
TEST_F(StickerRenderTest, WhatShowsThroughByStyle)
{
    struct Case {
        std::uint8_t Style;
        TColor Inside; // a pixel inside the frame, clear of the text
        TColor Corner; // the top-left pixel, outside the rounded frame
    };
    const Case cases[] = {
        {1, StickerSeeThroughColor, StickerSeeThroughColor},
        {2, StickerSeeThroughColor, StickerSeeThroughColor},
        {3, ColorScheme.MemoBGColors[0], StickerSeeThroughColor},
        {4, ColorScheme.MemoBGColors[0], StickerSeeThroughColor},
    };
    for (const Case& c : cases) {
        const std::optional<TStickerPicture> sticker = RenderSticker(Lines(), {}, false, Graph, Look(c.Style));
        ASSERT_TRUE(sticker);
        const QImage& image = sticker->Image;
        const QPoint inside(image.width() - 4, image.height() / 2);
        EXPECT_EQ(image.pixelColor(inside), ToQColor(c.Inside)) << int(c.Style);
        EXPECT_EQ(image.pixelColor(0, 0), ToQColor(c.Corner)) << int(c.Style);
        // The frame's top edge, halfway along.
        const QColor edge = image.pixelColor(image.width() / 2, 0);
        const TColor expectedEdge = c.Style == 2 || c.Style == 3 ? ColorScheme.MemoTextColors[0]
                                    : c.Style == 4               ? ColorScheme.MemoBGColors[0]
                                                                 : StickerSeeThroughColor;
        EXPECT_EQ(edge, ToQColor(expectedEdge)) << int(c.Style);
    }
}

// On the graph a sticker keeps 7 pixels inside it, one that would stick
// out on the right moving left first; elsewhere only a negative place is
// made 0.
TEST_F(StickerRenderTest, WhereAStickerGoes)
{
    const std::optional<TStickerPicture> probe = RenderSticker(Lines(), {}, false, Graph, Look(3));
    ASSERT_TRUE(probe);
    const int w = probe->Image.width();
    const int h = probe->Image.height();
    struct Case {
        QPoint Place;
        bool OnGraph;
        QPoint Expected;
    };
    const Case cases[] = {
        {{100, 80}, true, {100, 80}},
        {{-20, -5}, false, {0, 0}},
        {{-20, -5}, true, {7, 7}},
        {{3, 2}, true, {7, 7}},
        {{4, 24}, true, {7, 24}},
        {{390, 80}, true, {400 - w - 7, 80}},
        {{400 - w, 80}, true, {400 - w, 80}},
        {{100, 299}, true, {100, 300 - h - 7}},
        {{390, 299}, false, {390, 299}},
    };
    for (const Case& c : cases) {
        const std::optional<TStickerPicture> sticker = RenderSticker(Lines(), c.Place, c.OnGraph, Graph, Look(3));
        ASSERT_TRUE(sticker);
        EXPECT_EQ(sticker->Place, c.Expected) << c.Place.x() << "," << c.Place.y() << " on graph " << c.OnGraph;
    }
}

// A picture of the scene draws what the screen shows: at magnification 1,
// over a graph of the see-through colour, the very pixels of the screen's
// picture; magnified, twice as far and twice as large.
TEST_F(StickerRenderTest, APictureOfTheSceneDrawsWhatTheScreenShows)
{
    const QPoint place(30, 20);
    for (std::uint8_t style = 1; style <= 4; ++style) {
        const std::optional<TStickerPicture> screen = RenderSticker(Lines(), place, true, Graph, Look(style));
        ASSERT_TRUE(screen);
        QImage drawn(Graph, QImage::Format_RGB32);
        drawn.fill(ToQColor(StickerSeeThroughColor));
        TCanvas canvas = MakeImageCanvas(drawn);
        const TStickerOnGraph stickers[] = {{Lines(), place}};
        DrawStickersTo(canvas, stickers, Look(style), TDrawContext{1});
        EXPECT_EQ(drawn.copy(QRect(place, screen->Image.size())), screen->Image) << int(style);
    }

    QImage magnified(Graph * 2, QImage::Format_RGB32);
    magnified.fill(Qt::white);
    TCanvas canvas = MakeImageCanvas(magnified);
    const TStickerOnGraph stickers[] = {{Lines(), place}};
    DrawStickersTo(canvas, stickers, Look(3), TDrawContext{2});
    const std::optional<TStickerPicture> screen = RenderSticker(Lines(), place, true, Graph, Look(3));
    // The frame's top-left corner is rounded: its top edge starts further in.
    const int top = place.y() * 2;
    EXPECT_NE(magnified.pixelColor(place.x() * 2 + screen->Image.width(), top), QColor(Qt::white));
    EXPECT_EQ(magnified.pixelColor(place.x() * 2 + 2 * screen->Image.width() + 3, top + 40), QColor(Qt::white));
    EXPECT_EQ(magnified.pixelColor(place.x() * 2 - 2, top + 40), QColor(Qt::white));

    QImage none(Graph, QImage::Format_RGB32);
    none.fill(Qt::white);
    TCanvas hidden = MakeImageCanvas(none);
    DrawStickersTo(hidden, stickers, Look(0), TDrawContext{1});
    EXPECT_EQ(none.pixelColor(place + QPoint(20, 10)), QColor(Qt::white)) << "style 0 draws nothing";
}

} // namespace
