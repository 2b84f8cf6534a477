#pragma once

#include "platform/ServiceSlot.h"
#include "render/gfx/GfxTypes.h"

#include <QString>

// Measures text at 96 pixels per inch. Layout code measures through the
// installed metrics so that tests can use exact, machine-independent numbers.
class TTextMetrics {
public:
    virtual ~TTextMetrics() = default;
    virtual int TextWidth(const TFont& font, const QString& text) = 0;
    // The height of the character cell, whatever the text.
    virtual int TextHeight(const TFont& font, const QString& text) = 0;
    // From the top of the cell to the base line.
    virtual int Ascent(const TFont& font) = 0;
};

// The metrics of the fonts that are drawn, cached per font.
class QtTextMetrics final : public TTextMetrics {
public:
    int TextWidth(const TFont& font, const QString& text) override;
    int TextHeight(const TFont& font, const QString& text) override;
    int Ascent(const TFont& font) override;
};

// Exact numbers for layout tests: with e the em height in pixels (a positive
// cell height h counts as e = h × 4 div 5), every character advances
// (e + 1) div 2 pixels (one more when bold), the ascent is e and the cell
// height e + e div 4.
class FakeTextMetrics final : public TTextMetrics {
public:
    int TextWidth(const TFont& font, const QString& text) override;
    int TextHeight(const TFont& font, const QString& text) override;
    int Ascent(const TFont& font) override;
};

// The installed metrics, else the Qt ones.
TTextMetrics& CurrentTextMetrics();
using ScopedTextMetrics = platform::ScopedService<TTextMetrics>;
