// The style palette as the dialogs use it: popped up under a style button,
// choosing writes the caller's field and glyph, and it gets out of the way.
#include "tests/windows/WindowTestKit.h"

#include "dialogs/FmSetColor.h"
#include "dialogs/HintSetting.h"
#include "model/Colors.h"
#include "tests/render/GoldenFiles.h"

#include <QDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <functional>
#include <memory>

namespace {

QImage IconImage(const QAbstractButton* button)
{
    return button->icon().pixmap(button->iconSize()).toImage().convertToFormat(QImage::Format_RGB32);
}

// A window with one style button, standing for a property dialog.
struct TCallerWindow {
    std::unique_ptr<QWidget> Window;
    QToolButton* Button = nullptr;

    explicit TCallerWindow(QPoint at = {100, 100}, std::unique_ptr<QWidget> window = std::make_unique<QWidget>())
        : Window(std::move(window))
    {
        Window->setGeometry(at.x(), at.y(), 200, 80);
        Button = new QToolButton(Window.get());
        Button->setGeometry(20, 10, 23, 23);
        Window->show();
        ProcessEvents();
    }
};

// Opens the palette when the mouse moves over a button, as the dialogs'
// style buttons do.
class THoverOpener final : public QObject {
public:
    THoverOpener(QAbstractButton* button, std::function<void()> open) : open_(std::move(open))
    {
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove)
            open_();
        return false;
    }

private:
    std::function<void()> open_;
};

class FmSetColorTest : public WindowTest {
protected:
    FmSetColorTest() { StartProgram(); }
    TFmSetColor& Palette() { return *Forms.FmSetColor; }
    QToolButton* Button(const char* name) { return Find<QToolButton>(Palette(), name); }
    QWidget* PanelOf(const char* name) { return Find<QWidget>(Palette(), name); }
};

TEST_F(FmSetColorTest, EveryFamilyHasItsPanelAndNamedButtons)
{
    struct Family {
        const char* panel;
        const char* prefix;
        int first, last;
    };
    const Family families[] = {
        {"PanelPcolor", "sbc", 0, 15},   {"panelFPColor", "SBFP", 0, 5},  {"PanelBcolor", "SBBC", 0, 3},
        {"PanelWidth", "SBAL", 0, 6},    {"PanelPtn", "SBH", 1, 10},      {"PanelMemo", "SBmemo", 0, 4},
        {"PanelCBorder", "SBBD", 0, 1},  {"panelPstyle", "SBPstyle", 0, 1}, {"panelptn2", "SBPt", 1, 8},
        {"PanelLStyle", "SBLS", 1, 4},   {"PanelFtype", "sbFtype", 0, 3}, {"panelPrm", "SBPrm", 1, 14},
    };
    for (const Family& f : families) {
        QWidget* panel = PanelOf(f.panel);
        ASSERT_NE(panel, nullptr);
        for (int n = f.first; n <= f.last; ++n) {
            const QString name = QString::fromUtf8(f.prefix) + QString::number(n);
            auto* button = panel->findChild<QToolButton*>(name);
            ASSERT_NE(button, nullptr) << name.toStdString();
            // Letters are captions; every other button shows a picture.
            EXPECT_NE(button->icon().isNull(), std::string(f.prefix) != "SBPrm") << name.toStdString();
        }
        EXPECT_EQ(panel->findChild<QToolButton*>(QString::fromUtf8(f.prefix) + QString::number(f.last + 1)), nullptr);
    }
    EXPECT_EQ(Button("sbcUsr")->parentWidget(), PanelOf("PanelPcolor"));
    EXPECT_EQ(Palette().palette().color(QPalette::Window), QColor(0xD2, 0xD2, 0xD2));
    EXPECT_TRUE(Palette().windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Palette().windowFlags() & Qt::FramelessWindowHint);
    EXPECT_NE(Palette().windowType(), Qt::Popup);
    EXPECT_EQ(Palette().parentWidget(), nullptr);
}

TEST_F(FmSetColorTest, HintsFollowTheHintSwitch)
{
    const std::pair<const char*, QString> hints[] = {
        {"sbc0", QStringLiteral("Limpar")},          {"sbcUsr", QStringLiteral("côr favorita")},
        {"SBAL0", QStringLiteral("não Desenhar")},   {"SBPstyle1", QStringLiteral("somente fronteira")},
        {"SBmemo0", QStringLiteral("não Mostrar")},  {"SBmemo1", QStringLiteral("somente letras")},
        {"SBmemo2", QStringLiteral("limpar BG")},    {"SBmemo3", QStringLiteral("normal")},
        {"SBmemo4", QStringLiteral("esconder quadro")},
    };
    for (bool on : {false, true}) {
        SetHintsShown(on, {&Palette()});
        for (const auto& [name, hint] : hints) {
            EXPECT_EQ(Button(name)->toolTip(), hint) << name;
            EXPECT_EQ(TooltipReaches(Button(name)), on) << name;
        }
    }
}

// Each family: pop up on a field, click a choice; the field takes its
// number (or colour), the caller its glyph, and the palette hides.
TEST_F(FmSetColorTest, ChoosingWritesTheFieldAndTheGlyphAndHides)
{
    TCallerWindow caller;
    std::uint8_t byte = 99;
    TColor colour = 0x123456;
    using Show = std::function<void(TFmSetColor&, QAbstractButton*)>;
    struct Case {
        Show show;
        const char* panel;
        const char* button;
        int byteValue;       // -1: the colour field is written instead
        TColor colourValue;
    };
    const Case cases[] = {
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowColorPanel(colour, b); }, "PanelPcolor", "sbc0", -1, 0xFFFFFF},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowColorPanel(colour, b); }, "PanelPcolor", "sbc2", -1, 0x0000FF},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowColorPanel(colour, b); }, "PanelPcolor", "sbc13", -1, 0x00FFFF},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowFreePenColorPanel(byte, b); }, "panelFPColor", "SBFP3", 3, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowBackColorPanel(byte, b); }, "PanelBcolor", "SBBC2", 2, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowWidthPanel(byte, b, true); }, "PanelWidth", "SBAL0", 0, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowWidthPanel(byte, b, false); }, "PanelWidth", "SBAL6", 6, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowPatternPanel(byte, b); }, "PanelPtn", "SBH10", 10, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowMemoStylePanel(byte, b); }, "PanelMemo", "SBmemo4", 4, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowBorderPanel(byte, b); }, "PanelCBorder", "SBBD1", 1, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowPointStylePanel(byte, b); }, "panelPstyle", "SBPstyle1", 1, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowPointPatternPanel(byte, b); }, "panelptn2", "SBPt5", 5, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowLineStylePanel(byte, b); }, "PanelLStyle", "SBLS3", 3, 0},
        {[&](TFmSetColor& p, QAbstractButton* b) { p.ShowFigureTypePanel(byte, b); }, "PanelFtype", "sbFtype2", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        byte = 99;
        colour = 0x123456;
        int calls = 0;
        Palette().OnChosen = [&] { ++calls; };
        c.show(Palette(), caller.Button);
        ProcessEvents();
        ASSERT_TRUE(Palette().isVisible());
        for (QWidget* panel : Palette().findChildren<QWidget*>(QRegularExpression(QStringLiteral("^[Pp]anel"))))
            EXPECT_EQ(panel->isVisible(), panel->objectName() == QLatin1String(c.panel)) << panel->objectName().toStdString();
        EXPECT_EQ(Palette().size(), PanelOf(c.panel)->size());

        Click(Button(c.button));
        EXPECT_FALSE(Palette().isVisible());
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(Palette().OnChosen);
        if (c.byteValue < 0) {
            EXPECT_EQ(colour, c.colourValue);
            EXPECT_EQ(byte, 99);
            if (c.colourValue != ColorWhite) { // a colour writes what its glyph shows
                EXPECT_EQ(QColor(IconImage(caller.Button).pixel(9, 9)),
                          QColor(ColorRed(colour), ColorGreen(colour), ColorBlue(colour)));
            }
        } else {
            EXPECT_EQ(byte, c.byteValue);
            EXPECT_EQ(colour, 0x123456u);
        }
        EXPECT_EQ(IconImage(caller.Button), IconImage(Button(c.button)));
    }
}

// Moving on to another style button switches the panel while it shows; the
// first field is left alone.
TEST_F(FmSetColorTest, HoveringOverStyleButtonsSwitchesPanels)
{
    TCallerWindow caller;
    auto* widthButton = new QToolButton(caller.Window.get());
    widthButton->setGeometry(80, 10, 23, 23);
    widthButton->show();
    TColor colour = 0x123456;
    std::uint8_t width = 2;
    THoverOpener colourHover(caller.Button, [&] { Palette().ShowColorPanel(colour, caller.Button); });
    THoverOpener widthHover(widthButton, [&] { Palette().ShowWidthPanel(width, widthButton, false); });

    // Through the window, as the window system sends moves.
    QWindow* window = caller.Window->windowHandle();
    QTest::mouseMove(window, caller.Button->geometry().center());
    ASSERT_TRUE(PanelOf("PanelPcolor")->isVisible());
    EXPECT_EQ(Palette().x(), caller.Button->mapToGlobal(QPoint(0, 0)).x() - 16);
    QTest::mouseMove(window, widthButton->geometry().center());
    EXPECT_FALSE(PanelOf("PanelPcolor")->isVisible());
    ASSERT_TRUE(PanelOf("PanelWidth")->isVisible());
    EXPECT_EQ(Palette().x(), widthButton->mapToGlobal(QPoint(0, 0)).x() - 16);
    Click(Button("SBAL5"));
    EXPECT_EQ(width, 5);
    EXPECT_EQ(colour, 0x123456u);
}

TEST_F(FmSetColorTest, TheWidthPanelOffersNotDrawnOnlyWhenAsked)
{
    TCallerWindow caller;
    std::uint8_t width = 2;
    Palette().ShowWidthPanel(width, caller.Button, false);
    EXPECT_EQ(Palette().width(), 139);
    EXPECT_FALSE(Button("SBAL0")->isVisible());
    EXPECT_EQ(Button("SBAL1")->x(), 0);
    Palette().ShowWidthPanel(width, caller.Button, true);
    EXPECT_EQ(Palette().width(), 165);
    EXPECT_TRUE(Button("SBAL0")->isVisible());
    EXPECT_EQ(Button("SBAL0")->toolTip(), QStringLiteral("não Desenhar"));
    EXPECT_GT(Button("SBAL1")->x(), Button("SBAL0")->geometry().right());
}

TEST_F(FmSetColorTest, PopsUpUnderTheButtonInsideTheScreen)
{
    ASSERT_EQ(Palette().screen()->geometry().width(), 800);
    struct Case {
        QPoint window;
        int expectedLeft; // -1: the right edge meets the screen's, at 800
    };
    // The button sits 20 pixels into its window: at 120, at 790, at 10.
    const Case cases[] = {{{100, 100}, 104}, {{770, 300}, -1}, {{-10, 50}, 0}};
    for (const Case& c : cases) {
        TCallerWindow caller(c.window);
        const QPoint buttonTopLeft = caller.Button->mapToGlobal(QPoint(0, 0));
        std::uint8_t style = 1;
        Palette().ShowLineStylePanel(style, caller.Button);
        ProcessEvents();
        EXPECT_EQ(Palette().y(), buttonTopLeft.y() + caller.Button->height());
        if (c.expectedLeft < 0)
            EXPECT_EQ(Palette().geometry().right() + 1, 800);
        else
            EXPECT_EQ(Palette().x(), c.expectedLeft);
        Palette().hide();
    }
}

// Whatever hides the palette other than a choice writes nothing and drops
// the callback.
TEST_F(FmSetColorTest, RightPressFocusLossAndAClosingCallerHideIt)
{
    TCallerWindow caller;
    TColor colour = 0x123456;
    bool called = false;
    const std::function<void()> pops[] = {
        [&] { Click(Button("sbc3"), {}, Qt::RightButton); },
        [&] {
            caller.Window->activateWindow();
            ProcessEvents();
        },
        [&] { caller.Window->hide(); },
    };
    for (const auto& hideIt : pops) {
        SCOPED_TRACE(&hideIt - pops);
        caller.Window->show();
        caller.Window->activateWindow(); // the dialog has the focus, then the palette takes it
        ProcessEvents();
        Palette().OnChosen = [&] { called = true; };
        Palette().ShowColorPanel(colour, caller.Button);
        ProcessEvents();
        ASSERT_TRUE(Palette().isVisible());
        ASSERT_TRUE(Palette().isActiveWindow());
        hideIt();
        EXPECT_FALSE(Palette().isVisible());
        EXPECT_FALSE(Palette().OnChosen);
        Click(Button("sbc2")); // a stray click on the hidden palette
    }
    EXPECT_EQ(colour, 0x123456u);
    EXPECT_FALSE(called);
}

TEST_F(FmSetColorTest, ADestroyedCallerTakesItsFieldAway)
{
    auto caller = std::make_unique<TCallerWindow>();
    auto field = std::make_unique<std::uint8_t>(1);
    Palette().ShowPatternPanel(*field, caller->Button);
    ProcessEvents();
    caller.reset();
    field.reset();
    EXPECT_FALSE(Palette().isVisible());
    Click(Button("SBH3")); // writes nowhere
}

TEST_F(FmSetColorTest, TheFavouriteColourGoesThroughTheColourChooser)
{
    TCallerWindow caller;
    TColor colour = 0x00A0B0;
    int calls = 0;
    colors.queueAnswer(0x405060);
    colors.queueAnswer(std::nullopt);
    for (int round = 0; round < 2; ++round) {
        Palette().OnChosen = [&] { ++calls; };
        Palette().ShowColorPanel(colour, caller.Button);
        Click(Button("sbcUsr"));
        EXPECT_FALSE(Palette().isVisible());
    }
    ASSERT_EQ(colors.initials().size(), 2u);
    EXPECT_EQ(colors.initials()[0], 0x00A0B0u);
    EXPECT_EQ(colors.initials()[1], 0x405060u);
    EXPECT_EQ(colour, 0x405060u); // the cancelled second round wrote nothing
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(QColor(IconImage(caller.Button).pixel(9, 9)), QColor(0x60, 0x50, 0x40));
}

TEST_F(FmSetColorTest, LetterButtonsGiveTheirCaptionAndFont)
{
    TCallerWindow caller;
    caller.Button->setText(QStringLiteral("t"));
    struct Case {
        const char* button;
        QString caption;
        QChar letter;
    };
    const Case cases[] = {{"SBPrm1", QStringLiteral("a"), u'a'},
                          {"SBPrm13", QStringLiteral("θ"), u'@'},
                          {"SBPrm14", QStringLiteral("k"), u'k'}};
    for (const Case& c : cases) {
        int calls = 0;
        Palette().OnChosen = [&] { ++calls; };
        Palette().ShowParamCharPanel(caller.Button);
        Click(Button(c.button));
        EXPECT_EQ(caller.Button->text(), c.caption);
        EXPECT_EQ(caller.Button->font(), Button(c.button)->font());
        EXPECT_EQ(TFmSetColor::ParamCharOfCaption(caller.Button->text()), c.letter);
        EXPECT_EQ(TFmSetColor::ParamCharCaption(c.letter), c.caption);
        EXPECT_EQ(calls, 1);
        EXPECT_FALSE(Palette().isVisible());
    }
}

// The dialogs that run modally open the palette from their style buttons:
// a click that reaches the palette through the window system still counts.
TEST_F(FmSetColorTest, StaysUsableWhileAModalDialogShows)
{
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowModality(Qt::ApplicationModal);
    TCallerWindow caller({100, 100}, std::move(dialog));
    ASSERT_EQ(QGuiApplication::modalWindow(), caller.Window->windowHandle());
    std::uint8_t width = 2;
    Palette().ShowWidthPanel(width, caller.Button, false);
    ProcessEvents();
    QToolButton* four = Button("SBAL4");
    QTest::mouseClick(Palette().windowHandle(), Qt::LeftButton, {}, four->mapTo(&Palette(), four->rect().center()));
    ProcessEvents();
    EXPECT_EQ(width, 4);
    EXPECT_FALSE(Palette().isVisible());
}

TEST_F(FmSetColorTest, GlyphSettersCopyTheFamilysButton)
{
    TCallerWindow caller;
    using Setter = void (TFmSetColor::*)(QAbstractButton*, int);
    struct Case {
        Setter set;
        const char* button;
        int n;
    };
    const Case cases[] = {
        {&TFmSetColor::SetFreePenColorGlyph, "SBFP4", 4}, {&TFmSetColor::SetBackColorGlyph, "SBBC1", 1},
        {&TFmSetColor::SetWidthGlyph, "SBAL3", 3},        {&TFmSetColor::SetMemoStyleGlyph, "SBmemo2", 2},
        {&TFmSetColor::SetPatternGlyph, "SBH9", 9},       {&TFmSetColor::SetPointPatternGlyph, "SBPt8", 8},
        {&TFmSetColor::SetFigureTypeGlyph, "sbFtype3", 3}, {&TFmSetColor::SetPointStyleGlyph, "SBPstyle0", 0},
        {&TFmSetColor::SetLineStyleGlyph, "SBLS4", 4},    {&TFmSetColor::SetBorderGlyph, "SBBD0", 0},
    };
    for (const Case& c : cases) {
        (Palette().*c.set)(caller.Button, c.n);
        EXPECT_EQ(IconImage(caller.Button), IconImage(Button(c.button))) << c.button;
        (Palette().*c.set)(caller.Button, 200);
        EXPECT_TRUE(caller.Button->icon().isNull()) << c.button;
    }
    Palette().SetColorGlyph(caller.Button, 0x00BF00);
    EXPECT_EQ(IconImage(caller.Button), IconImage(Button("sbc3")));
    Palette().SetColorGlyph(caller.Button, ColorWhite);
    EXPECT_EQ(IconImage(caller.Button), IconImage(Button("sbc0")));
}

// The colour panel: "Limpar" and the scheme's fifteen colours in two rows
// of eight, "côr favorita" below; the width panel: the "not drawn" mark,
// then lines one to six pixels wide.
TEST_F(FmSetColorTest, ColourAndWidthPanelsLookAsReviewed)
{
    TCallerWindow caller;
    TColor colour = 0;
    Palette().ShowColorPanel(colour, caller.Button);
    ProcessEvents();
    EXPECT_TRUE(MatchesImageGolden(Palette().grab().toImage(), QStringLiteral("windows/palette-colours.png"),
                                   {48, 0.02}));
    std::uint8_t width = 2;
    Palette().ShowWidthPanel(width, caller.Button, true);
    ProcessEvents();
    EXPECT_TRUE(MatchesImageGolden(Palette().grab().toImage(), QStringLiteral("windows/palette-widths.png")));
}

} // namespace
