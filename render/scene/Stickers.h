#pragma once

// The note stickers drawn: one framed box of label-markup lines per sticker,
// rendered into a picture of its own for the graph window, or drawn with
// the rest of the scene into a printed or exported picture. Both go through
// one drawer, so that a picture shows what the screen shows.
#include "model/Colors.h"
#include "render/gfx/Canvas.h"
#include "render/view/DrawContext.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <span>

// How the stickers look: the document's sticker options with the colours of
// the current scheme (monochrome while printing in black and white).
struct TStickerLook {
    std::uint8_t Style = 3;  // 0 none, 1 text only, 2 frame, 3 filled frame, 4 filled without frame
    TColor TextColor = 0xFF0000;
    TColor FrameColor = 0x008000;
    TColor FillColor = 0xFFFFFF;
    int Size = 12; // points
    bool operator==(const TStickerLook&) const = default;
};
// The look the document asks for, in the current colour scheme: the frame
// and fill colours are entries of the scheme's note colours, and the text
// turns grey in monochrome.
TStickerLook CurrentStickerLook();

// What a sticker picture shows where the graph shows through: the screen
// keys it out, so that only the frame's inside and the text are opaque.
constexpr TColor StickerSeeThroughColor = 0xF0F0F0;

// A sticker rendered for the screen: its picture and the place (top-left in
// graph pixels) it takes.
struct TStickerPicture {
    QImage Image;
    QPoint Place;
};

// Renders a sticker's lines: nothing without lines or with style 0. A
// negative place becomes 0. On the graph (of that pixel size) the sticker
// is kept 7 pixels inside it: one that would stick out on the right moves
// left first.
std::optional<TStickerPicture> RenderSticker(const QStringList& lines, QPoint place, bool onGraph, QSize graph,
                                             const TStickerLook& look);

// A sticker lying on the graph, for a picture of the whole scene.
struct TStickerOnGraph {
    QStringList Lines;
    QPoint Place; // graph pixels, unmagnified
};
// Draws the stickers into a picture of the scene at the context's
// magnification: frames with pens half the magnification wide, style 2
// without fill; nothing with style 0.
void DrawStickersTo(TCanvas& canvas, std::span<const TStickerOnGraph> stickers, const TStickerLook& look,
                    const TDrawContext& context);
