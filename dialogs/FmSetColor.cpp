#include "dialogs/FmSetColor.h"

#include "dialogs/FormLook.h"
#include "dialogs/PermanentForms.h"
#include "platform/Choosers.h"
#include "render/gfx/ColorConvert.h"
#include "render/plot/BrushPattern.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

namespace {

constexpr TColor PaletteBackground = 0xD2D2D2;
constexpr int Cell = 23;           // a button's size, its glyph in the middle
constexpr int NoWidthCell = 26;    // the "not drawn" width button is wider
constexpr int LineStyleCell = 39;
constexpr int UserColorHeight = 20;

// One panel of buttons named prefix + value, laid out in rows.
struct TFamilyLayout {
    const char* Panel;
    const char* Prefix;
    int Columns;
    int CellWidth;
};
constexpr std::array<TFamilyLayout, PaletteFamilyCount> FamilyLayouts{{
    {"PanelPcolor", "sbc", 8, Cell},
    {"panelFPColor", "SBFP", 6, Cell},
    {"PanelBcolor", "SBBC", 4, Cell},
    {"PanelWidth", "SBAL", 7, Cell},
    {"PanelPtn", "SBH", 5, Cell},
    {"PanelMemo", "SBmemo", 5, Cell},
    {"PanelCBorder", "SBBD", 2, Cell},
    {"panelPstyle", "SBPstyle", 2, Cell},
    {"panelptn2", "SBPt", 4, Cell},
    {"PanelLStyle", "SBLS", 4, LineStyleCell},
    {"PanelFtype", "sbFtype", 4, Cell},
    {"panelPrm", "SBPrm", 7, Cell},
}};

const TFamilyLayout& LayoutOf(TPaletteFamily family)
{
    return FamilyLayouts[static_cast<std::size_t>(family)];
}

// The parameter letters in slot order.
constexpr char16_t ParamLetters[] = u"abcdmnpqstuv@k";
constexpr char16_t ThetaLetter = u'θ';

struct THint {
    const char* Button;
    const char16_t* Text;
};
constexpr THint Hints[] = {
    {"sbc0", u"Limpar"},
    {"sbcUsr", u"côr favorita"},
    {"SBAL0", u"não Desenhar"},
    {"SBPstyle1", u"somente fronteira"},
    {"SBmemo0", u"não Mostrar"},
    {"SBmemo1", u"somente letras"},
    {"SBmemo2", u"limpar BG"},
    {"SBmemo3", u"normal"},
    {"SBmemo4", u"esconder quadro"},
};

void SetGlyph(QAbstractButton* button, const QImage& glyph)
{
    if (glyph.isNull()) {
        button->setIcon(QIcon());
        return;
    }
    button->setIconSize(glyph.size());
    button->setIcon(QIcon(QPixmap::fromImage(glyph)));
}

// The panel's size: its shown buttons' extent and one pixel.
QSize PanelExtent(const QWidget& panel)
{
    QRect extent;
    for (const QToolButton* button : panel.findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (!button->isHidden())
            extent = extent.united(button->geometry());
    return {extent.right() + 2, extent.bottom() + 2};
}

} // namespace

TFmSetColor::TFmSetColor()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FmSetColor"));
    setFont(FormFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(PaletteBackground));
    colours.setColor(QPalette::Button, ToQColor(PaletteBackground));
    setPalette(colours);
    setAutoFillBackground(true);
    BuildPanels();
    Forms.FmSetColor = this;
}

TFmSetColor::~TFmSetColor()
{
    if (Forms.FmSetColor == this)
        Forms.FmSetColor = nullptr;
}

// ---------------------------------------------------------------- building

void TFmSetColor::BuildPanels()
{
    for (int f = 0; f < PaletteFamilyCount; ++f)
        BuildFamily(static_cast<TPaletteFamily>(f));
    BuildUserColorButton();
    TintColorButtons();
    LayOutWidthPanel(true);
    SetHintTexts();
}

void TFmSetColor::BuildFamily(TPaletteFamily family)
{
    const TFamilyLayout& layout = LayoutOf(family);
    const TPaletteValues values = PaletteValues(family);
    TFamilyPanel& panel = Family(family);
    panel.Panel = new QWidget(this);
    panel.Panel->setObjectName(QString::fromUtf8(layout.Panel));
    panel.Panel->hide();
    panel.First = values.First;
    for (int n = values.First; n <= values.Last; ++n) {
        const int k = n - values.First;
        auto* button = new QToolButton(panel.Panel);
        button->setObjectName(QString::fromUtf8(layout.Prefix) + QString::number(n));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        const QPoint cell((k % layout.Columns) * layout.CellWidth, (k / layout.Columns) * Cell);
        button->setGeometry(QRect(cell, QSize(layout.CellWidth, Cell)));
        if (family == TPaletteFamily::ParamChar) {
            const QChar letter(ParamLetters[k]);
            button->setText(ParamCharCaption(letter));
            QFont letterFont(QStringLiteral("Times New Roman"));
            letterFont.setPixelSize(16);
            letterFont.setItalic(letter != QChar(u'@'));
            button->setFont(letterFont);
        } else if (family != TPaletteFamily::Color) {
            SetGlyph(button, PaletteGlyph(family, n));
        }
        if (family == TPaletteFamily::Color)
            button->installEventFilter(this); // right press hides
        connect(button, &QToolButton::clicked, this, [this, family, n] { Choose(family, n); });
        panel.Buttons.push_back(button);
    }
    panel.Panel->resize(PanelExtent(*panel.Panel));
}

void TFmSetColor::BuildUserColorButton()
{
    QWidget* panel = Family(TPaletteFamily::Color).Panel;
    auto* button = new QToolButton(panel);
    button->setObjectName(QStringLiteral("sbcUsr"));
    button->setText(QStringLiteral("côr favorita"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(0, 2 * Cell, 8 * Cell, UserColorHeight);
    connect(button, &QToolButton::clicked, this, [this] { ChooseUserColor(); });
    panel->resize(PanelExtent(*panel));
}

// The colour buttons show the scheme's palette and write what they show.
void TFmSetColor::TintColorButtons()
{
    TFamilyPanel& colours = Family(TPaletteFamily::Color);
    buttonColors_[0] = ColorWhite;
    SetGlyph(colours.Buttons[0], PaletteGlyph(TPaletteFamily::Color, 0));
    const QImage base = ColorGlyphBase();
    for (std::size_t n = 1; n < buttonColors_.size(); ++n) {
        buttonColors_[n] = ColorScheme.ColorPalette[n];
        SetGlyph(colours.Buttons[n], TintGlyph(base, buttonColors_[n]));
    }
}

// SBAL0 sits at the left, a little wider; without it the others move left.
void TFmSetColor::LayOutWidthPanel(bool offerNone)
{
    TFamilyPanel& widths = Family(TPaletteFamily::Width);
    widths.Buttons[0]->setVisible(offerNone);
    widths.Buttons[0]->setGeometry(0, 0, NoWidthCell, Cell);
    const int left = offerNone ? NoWidthCell : 0;
    for (std::size_t n = 1; n < widths.Buttons.size(); ++n)
        widths.Buttons[n]->move(left + static_cast<int>(n - 1) * Cell, 0);
    widths.Panel->resize(PanelExtent(*widths.Panel));
}

void TFmSetColor::SetHintTexts()
{
    for (const THint& hint : Hints)
        if (auto* button = findChild<QToolButton*>(QString::fromUtf8(hint.Button)))
            button->setToolTip(QString::fromUtf16(hint.Text));
}

QToolButton* TFmSetColor::FamilyButton(TPaletteFamily family, int n)
{
    TFamilyPanel& panel = Family(family);
    const int k = n - panel.First;
    return k >= 0 && k < static_cast<int>(panel.Buttons.size()) ? panel.Buttons[static_cast<std::size_t>(k)] : nullptr;
}

// ---------------------------------------------------------------- popping up

void TFmSetColor::ShowColorPanel(TColor& target, QAbstractButton* caller)
{
    if (!std::equal(buttonColors_.begin() + 1, buttonColors_.end(), ColorScheme.ColorPalette.begin() + 1))
        TintColorButtons();
    PopUp(TPaletteFamily::Color, caller);
    colorTarget_ = &target;
}

void TFmSetColor::PopUpOn(TPaletteFamily family, std::uint8_t& target, QAbstractButton* caller)
{
    PopUp(family, caller);
    byteTarget_ = &target;
}

void TFmSetColor::ShowWidthPanel(std::uint8_t& target, QAbstractButton* caller, bool offerNone)
{
    LayOutWidthPanel(offerNone);
    PopUpOn(TPaletteFamily::Width, target, caller);
}

void TFmSetColor::ShowParamCharPanel(QAbstractButton* target)
{
    PopUp(TPaletteFamily::ParamChar, target);
}

// Only the family's panel shows, at the palette's top-left, and the palette
// takes its size. The palette becomes a transient of the caller's window, so
// that a modal dialog among the caller's windows does not block it.
void TFmSetColor::PopUp(TPaletteFamily family, QAbstractButton* caller)
{
    colorTarget_ = nullptr;
    byteTarget_ = nullptr;
    for (TFamilyPanel& panel : families_)
        panel.Panel->setVisible(panel.Panel == Family(family).Panel);
    QWidget* panel = Family(family).Panel;
    panel->move(0, 0);
    resize(panel->size());
    WatchCaller(caller);
    if (caller) {
        PlaceUnder(caller);
        if (!windowHandle())
            create();
        QWindow* owner = caller->window()->windowHandle();
        if (owner != windowHandle() && windowHandle()->transientParent() != owner)
            windowHandle()->setTransientParent(owner);
    }
    show(); // it stays on top, over the caller's window
    activateWindow();
}

// Left at the button's left less 16, top at its bottom, inside the screen's
// width.
void TFmSetColor::PlaceUnder(QAbstractButton* caller)
{
    const QPoint bottomLeft = caller->mapToGlobal(QPoint(0, caller->height()));
    QScreen* screen = caller->screen() ? caller->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 16, 1 << 16);
    int left = bottomLeft.x() - 16;
    left = std::min(left, area.x() + area.width() - width());
    left = std::max(left, area.x());
    move(left, bottomLeft.y());
}

// The caller's window may close while the palette shows, and its working
// copy, the target, with it.
void TFmSetColor::WatchCaller(QAbstractButton* caller)
{
    if (callerWindow_)
        callerWindow_->removeEventFilter(this);
    disconnect(callerGone_);
    caller_ = caller;
    callerWindow_ = caller ? caller->window() : nullptr;
    if (callerWindow_)
        callerWindow_->installEventFilter(this);
    if (caller)
        callerGone_ = connect(caller, &QObject::destroyed, this, [this] { hide(); });
}

// ---------------------------------------------------------------- choosing

void TFmSetColor::Choose(TPaletteFamily family, int n)
{
    QToolButton* chosen = FamilyButton(family, n);
    if (family == TPaletteFamily::ParamChar) {
        if (caller_) {
            caller_->setText(chosen->text());
            caller_->setFont(chosen->font());
        }
    } else {
        if (family == TPaletteFamily::Color && colorTarget_)
            *colorTarget_ = buttonColors_[static_cast<std::size_t>(n)];
        else if (family != TPaletteFamily::Color && byteTarget_)
            *byteTarget_ = static_cast<std::uint8_t>(n);
        if (caller_) {
            caller_->setIcon(chosen->icon());
            caller_->setIconSize(chosen->iconSize());
            caller_->setText(chosen->text());
        }
    }
    FinishChoice();
}

// The chooser takes the focus, which hides the palette: what it needs is
// taken first.
void TFmSetColor::ChooseUserColor()
{
    TColor* target = colorTarget_;
    QPointer<QAbstractButton> caller = caller_;
    std::function<void()> chosen = std::move(OnChosen);
    hide();
    const std::optional<std::uint32_t> colour =
        platform::CurrentColorChooser().chooseColor(target ? *target : ColorWhite);
    if (!colour)
        return;
    if (target)
        *target = *colour;
    if (caller)
        SetColorGlyph(caller, *colour);
    if (chosen)
        chosen();
}

// The callback runs after the palette hid, so it may open the palette again.
void TFmSetColor::FinishChoice()
{
    std::function<void()> chosen = std::move(OnChosen);
    hide();
    if (chosen)
        chosen();
}

void TFmSetColor::ClearChoice()
{
    OnChosen = nullptr;
    colorTarget_ = nullptr;
    byteTarget_ = nullptr;
    WatchCaller(nullptr);
}

void TFmSetColor::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    ClearChoice();
}

void TFmSetColor::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        hide();
}

bool TFmSetColor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == callerWindow_ && event->type() == QEvent::Hide)
        hide();
    else if (watched->parent() == Family(TPaletteFamily::Color).Panel && event->type() == QEvent::MouseButtonPress &&
             static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
        hide();
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- glyphs

void TFmSetColor::SetFamilyGlyph(TPaletteFamily family, QAbstractButton* button, int n)
{
    if (!button)
        return;
    const QToolButton* source = FamilyButton(family, n);
    if (source) {
        button->setIconSize(source->iconSize());
        button->setIcon(source->icon());
    } else {
        button->setIcon(QIcon());
    }
}

// White is "no colour", shown as button 0 shows it.
void TFmSetColor::SetColorGlyph(QAbstractButton* button, TColor color)
{
    if (!button)
        return;
    if (IsWhiteColor(color))
        SetFamilyGlyph(TPaletteFamily::Color, button, 0);
    else
        SetGlyph(button, TintGlyph(ColorGlyphBase(), color));
}

// ---------------------------------------------------------------- pictures

QImage TFmSetColor::TintGlyph(const QImage& glyph, TColor color)
{
    QImage tinted = glyph.convertToFormat(QImage::Format_RGB32);
    const QRgb white = qRgb(255, 255, 255);
    const QRgb tint = ToQColor(ColorRGBPart(color)).rgb();
    const int last = std::min(18, std::min(tinted.width(), tinted.height()) - 1);
    for (int y = 1; y <= last; ++y) {
        auto* line = reinterpret_cast<QRgb*>(tinted.scanLine(y));
        for (int x = 1; x <= std::min(18, tinted.width() - 1); ++x)
            if ((line[x] | 0xFF000000) != white)
                line[x] = tint;
    }
    return tinted;
}

void TFmSetColor::ReplaceBitmapColor(QImage& image, TColor newColor, TColor oldColor)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const QRgb from = ToQColor(ColorRGBPart(oldColor)).rgb() & 0xFFFFFF;
    const QRgb to = ToQColor(ColorRGBPart(newColor)).rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == from)
                line[x] = to;
    }
}

TBrush TFmSetColor::SetBrushPattern(int pattern, TColor color)
{
    TBrush brush;
    brush.Color = color;
    ::SetBrushPattern(brush, pattern);
    return brush;
}

QString TFmSetColor::ParamCharCaption(QChar letter)
{
    return letter == QChar(u'@') ? QString(QChar(ThetaLetter)) : QString(letter);
}

QChar TFmSetColor::ParamCharOfCaption(const QString& caption)
{
    if (caption.isEmpty())
        return QChar(u't');
    return caption[0] == QChar(ThetaLetter) ? QChar(u'@') : caption[0];
}
