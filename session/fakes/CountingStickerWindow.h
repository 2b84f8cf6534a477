#pragma once

#include "session/Stickers.h"

#include <QImage>
#include <array>

// Test fake of the graph window's sticker images: keeps the last picture of
// each sticker, whether it shows, and counts what it was asked.
class CountingStickerWindow final : public TStickerWindow {
public:
    std::array<QImage, MaxStickers + 1> Pictures{}; // by sticker number
    std::array<bool, MaxStickers + 1> Shown{};
    std::array<int, MaxStickers + 1> Renders{};
    int Placements = 0;

    void ShowSticker(int k, const QImage& picture) override
    {
        Pictures[k] = picture;
        Shown[k] = true;
        ++Renders[k];
    }
    void HideSticker(int k) override
    {
        Pictures[k] = QImage();
        Shown[k] = false;
    }
    void PlaceStickers() override { ++Placements; }
    int RenderCount() const
    {
        int n = 0;
        for (int r : Renders)
            n += r;
        return n;
    }
};
