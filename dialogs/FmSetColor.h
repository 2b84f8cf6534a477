#pragma once

#include "dialogs/PaletteGlyphs.h"
#include "model/Colors.h"
#include "render/gfx/GfxTypes.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QAbstractButton;
class QToolButton;

// The style palette: a small frameless window that stays on top and pops up
// under a style button with one panel of choices (colours, widths, patterns,
// styles, parameter letters). It is not a popup, so hovering over another
// style button of a dialog can switch panels while it shows.
class TFmSetColor final : public QWidget {
public:
    // No parent: disabling the main windows for a dialog never disables it.
    TFmSetColor();
    ~TFmSetColor() override;

    // Each pops the palette up under `caller` with one panel; a choice writes
    // `target` (which the caller keeps alive while the palette shows), gives
    // the caller the choice's glyph and caption, hides the palette and then
    // calls OnChosen. The palette also hides, writing nothing, on a right
    // press on a colour, when it loses the focus, and when the caller's
    // window hides or the caller is destroyed.
    // ShowPatternPanel offers the hatches of relation regions (1..10),
    // ShowPointPatternPanel the fill patterns of objects and figures (1..8).
    void ShowColorPanel(TColor& target, QAbstractButton* caller);
    void ShowWidthPanel(std::uint8_t& target, QAbstractButton* caller, bool offerNone);
    void ShowFreePenColorPanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::FreePenColor, t, c); }
    void ShowBackColorPanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::BackColor, t, c); }
    void ShowPatternPanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::Pattern, t, c); }
    void ShowPointPatternPanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::PointPattern, t, c); }
    void ShowFigureTypePanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::FigureType, t, c); }
    void ShowMemoStylePanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::MemoStyle, t, c); }
    void ShowBorderPanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::Border, t, c); }
    void ShowPointStylePanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::PointStyle, t, c); }
    void ShowLineStylePanel(std::uint8_t& t, QAbstractButton* c) { PopUpOn(TPaletteFamily::LineStyle, t, c); }
    // The chosen letter becomes the target's caption and font ("θ" for '@').
    void ShowParamCharPanel(QAbstractButton* target);

    // The glyph a style button shows for a value: the glyph of the family's
    // button n, none for a value the family lacks. White is shown as "no
    // colour", as button sbc0 shows it.
    void SetColorGlyph(QAbstractButton* button, TColor color);
    void SetFreePenColorGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::FreePenColor, b, n); }
    void SetBackColorGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::BackColor, b, n); }
    void SetWidthGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::Width, b, n); }
    void SetMemoStyleGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::MemoStyle, b, n); }
    void SetPatternGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::Pattern, b, n); }
    void SetPointPatternGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::PointPattern, b, n); }
    void SetFigureTypeGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::FigureType, b, n); }
    void SetPointStyleGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::PointStyle, b, n); }
    void SetLineStyleGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::LineStyle, b, n); }
    void SetBorderGlyph(QAbstractButton* b, int n) { SetFamilyGlyph(TPaletteFamily::Border, b, n); }
    void SetFamilyGlyph(TPaletteFamily family, QAbstractButton* button, int n);

    // The glyph with its non-white pixels of rows and columns 1..18 painted
    // in `color`.
    static QImage TintGlyph(const QImage& glyph, TColor color);
    // Every pixel of `oldColor` becomes `newColor`.
    static void ReplaceBitmapColor(QImage& image, TColor newColor, TColor oldColor);
    // The brush of fill pattern `pattern` in `color`: white counts as pattern
    // 1 (solid), 2 and 3 are picture patterns, 4..8 the hatches, anything
    // else no fill.
    static TBrush SetBrushPattern(int pattern, TColor color);

    // The caption of a curve parameter letter ("θ" for '@') and back.
    static QString ParamCharCaption(QChar letter);
    static QChar ParamCharOfCaption(const QString& caption);

    // Called after a choice was written, so the calling dialog refreshes its
    // controls; cleared when the palette hides (set it before or after
    // calling Show*Panel).
    std::function<void()> OnChosen;

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TFamilyPanel {
        QWidget* Panel = nullptr;
        int First = 0;
        std::vector<QToolButton*> Buttons; // value First + i
    };

    void BuildPanels();
    void BuildFamily(TPaletteFamily family);
    void BuildUserColorButton();
    void TintColorButtons();
    void LayOutWidthPanel(bool offerNone);
    void SetHintTexts();
    TFamilyPanel& Family(TPaletteFamily family) { return families_[static_cast<std::size_t>(family)]; }
    QToolButton* FamilyButton(TPaletteFamily family, int n);

    void PopUp(TPaletteFamily family, QAbstractButton* caller);
    void PopUpOn(TPaletteFamily family, std::uint8_t& target, QAbstractButton* caller);
    void PlaceUnder(QAbstractButton* caller);
    void WatchCaller(QAbstractButton* caller);
    void Choose(TPaletteFamily family, int n);
    void ChooseUserColor();
    void ClearChoice();
    void FinishChoice();

    std::array<TFamilyPanel, PaletteFamilyCount> families_{};
    // The colour each colour button was tinted with, the value it writes.
    std::array<TColor, 16> buttonColors_{};

    TColor* colorTarget_ = nullptr;
    std::uint8_t* byteTarget_ = nullptr;
    QPointer<QAbstractButton> caller_;
    QPointer<QWidget> callerWindow_;
    QMetaObject::Connection callerGone_;
};
