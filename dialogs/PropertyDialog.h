#pragma once

// What the property dialogs share: a modeless window of its own that keeps
// the main windows disabled while it is open, runs OK on Enter and closes
// on Esc; formula pictures that open the calculator's editor; style buttons
// that open the palette on a field of the dialog's working copy.
#include "model/Colors.h"
#include "model/Formula.h"
#include "model/TokenString.h"
#include "render/gfx/Bitmap.h"

#include <QDialog>
#include <QLabel>
#include <QToolButton>
#include <cstdint>
#include <functional>

class QAbstractButton;
class QFrame;
class QPushButton;

// The row of buttons every property dialog ends with.
struct TOkPanel {
    QFrame* PanelOk = nullptr;
    QPushButton* BtnOK = nullptr;     // "&O K": runs OkClick
    QPushButton* btnDelete = nullptr; // "&Apagar": the dialog connects it
    QPushButton* btncancel = nullptr; // "&Cancelar": closes
};

// A property dialog: no parent (a disabled parent would disable it too),
// frees itself when closed, stays above the main windows and opens where it
// was last closed (the first time at DialogAnchorPos).
class TPropertyDialog : public QDialog {
public:
    explicit TPropertyDialog(const QString& objectName);

    // What Enter runs.
    virtual void OkClick() = 0;

    // Moving the mouse over these gives the dialog the focus.
    void FocusOnHover(QWidget* widget);
    // The dialog was closed and waits to be freed.
    bool Closed() const { return closed_; }

protected:
    TOkPanel BuildOkPanel();
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Esc and the dialog's own closing both come here.
    void reject() override { close(); }

private:
    bool closed_ = false;
};

// The open dialog of that object name among the top-level windows, or null.
QWidget* FindOpenDialog(const QString& objectName);

// A formula shown typeset; a click asks for it to be edited.
class TFormulaPicture final : public QLabel {
public:
    explicit TFormulaPicture(const char* objectName, QWidget* parent = nullptr);
    std::function<void()> Clicked;
    // Typesets the scanned tokens at fontSize points into the picture's size.
    void ShowFormula(const TTokenString& tokens, int fontSize);
    const QImage& Image() const { return bitmap_.Image(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Draw();

    TBitmap bitmap_;
    TTokenString tokens_;
    int fontSize_ = 12;
};

// The families of the palette a style button may open.
enum class TStyleFamily {
    Color,
    Width,
    WidthOrNone, // the width panel with its "not drawn" button
    Pattern,
    PointPattern,
    Border,
    PointStyle,
    LineStyle,
    FigureType,
    MemoStyle, // the stickers' look
    BackColor, // the stickers' frame and fill colours
};

// A glyph button that opens a palette panel when the mouse moves over it
// and when it is clicked.
class TStyleButton final : public QToolButton {
public:
    explicit TStyleButton(const char* objectName, QWidget* parent = nullptr);
    // Opens the palette on a colour field, or on a byte field of a family.
    void BindColor(TColor* field);
    void BindByte(TStyleFamily family, std::uint8_t* field);
    // Runs after a choice was written (the dialog shows it).
    std::function<void()> Chosen;
    // The glyph of the bound field's value.
    void ShowGlyph();
    void OpenPanel();

protected:
    void enterEvent(QEnterEvent* event) override;

private:
    TStyleFamily family_ = TStyleFamily::Color;
    TColor* color_ = nullptr;
    std::uint8_t* byte_ = nullptr;
};

// Opens the calculator's editor on record; true when the user sent it.
bool EditFormula(const QString& caption, const QFont& captionFont, QWidget* picture, TColor color, int mode,
                 TKavirofunction& record);
// Closes the calculator when it is open as a free window.
void CloseCalculator();
// The background colour of the data panel's panel of that object name
// (panelyfx, panelcfn, panelCrv, panelPnt); the window colour without one.
TColor DataPanelColor(const char* panelName);
// Gives the widgets that colour as their background.
void PaintPanels(std::initializer_list<QWidget*> panels, TColor color);
