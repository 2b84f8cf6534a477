#pragma once

// The region of one relation: a byte per pixel of the unmagnified view in
// which bit k-1 is set where piece k's inequality holds, and the
// conjunction masks that say which bit combinations make up the region.
// The relation plotter fills it piece by piece; the hatching paints it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// At most eight pieces: one byte holds all their bits.
constexpr int MaxRelationPieces = 8;

class TRegionMask {
public:
    // Pixel columns 0 .. width + 1 and rows 0 .. height + 1 (width and
    // height are the axes' VHigh), all bits clear, no masks. The storage is
    // kept and only grows, so a redraw allocates nothing once it has run.
    void Reset(int width, int height)
    {
        width_ = width < 0 ? 0 : width;
        height_ = height < 0 ? 0 : height;
        stride_ = static_cast<size_t>(width_) + 2;
        const size_t size = stride_ * (static_cast<size_t>(height_) + 2);
        if (bytes_.size() < size)
            bytes_.resize(size);
        std::fill(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(size), std::uint8_t{0});
        Masks.clear();
    }
    // Gives the memory back (the reset of the program's tables).
    void Release()
    {
        std::vector<std::uint8_t>().swap(bytes_);
        Masks.clear();
        width_ = height_ = 0;
        stride_ = 2;
    }

    int Width() const { return width_; }   // W: the last visible column
    int Height() const { return height_; } // H: the last visible row

    bool Contains(int column, int row) const
    {
        return column >= 0 && row >= 0 && column <= width_ + 1 && row <= height_ + 1;
    }
    // The byte of a pixel; the caller keeps to Contains.
    std::uint8_t At(int column, int row) const { return bytes_[Index(column, row)]; }
    void Set(int column, int row, std::uint8_t bit) { bytes_[Index(column, row)] |= bit; }
    // Sets the bit at rows first .. last of a column, clipped to the grid.
    void SetRows(int column, int first, int last, std::uint8_t bit)
    {
        if (column < 0 || column > width_ + 1)
            return;
        if (first < 0)
            first = 0;
        if (last > height_ + 1)
            last = height_ + 1;
        for (int row = first; row <= last; ++row)
            bytes_[Index(column, row)] |= bit;
    }
    // One row's bytes, columns 0 .. width + 1, for a scan that fills a row
    // at a time.
    std::uint8_t* Row(int row) { return bytes_.data() + static_cast<size_t>(row) * stride_; }
    const std::uint8_t* Row(int row) const { return bytes_.data() + static_cast<size_t>(row) * stride_; }

    // A pixel is in the region when some mask has all its bits set there.
    bool InRegion(int column, int row) const
    {
        const std::uint8_t byte = At(column, row);
        for (const std::uint8_t mask : Masks)
            if ((byte & mask) == mask)
                return true;
        return false;
    }
    bool HasRegion() const { return !Masks.empty(); }

    // Each entry is the OR of the bits of one run of pieces joined by "and";
    // the runs are joined by "or".
    std::vector<std::uint8_t> Masks;

private:
    size_t Index(int column, int row) const
    {
        return static_cast<size_t>(row) * stride_ + static_cast<size_t>(column);
    }

    int width_ = 0;
    int height_ = 0;
    size_t stride_ = 2;
    std::vector<std::uint8_t> bytes_;
};
