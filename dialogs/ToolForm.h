#pragma once

// What the graph's two tool windows (the value table and the integral)
// share: a modeless window of its own in the program's font and silver
// face, which opens where it was last closed, takes the data panel's hint
// switch when shown, and tells its owner when it has closed so that the
// owner frees it.
#include <QIcon>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QRadioButton;
class TFormulaPicture;
struct TKavirofunction;

class TToolForm : public QWidget {
public:
    // place: where the window was last closed, kept by the session.
    TToolForm(const char* objectName, const QString& caption, std::optional<QPoint>& place);

    // Runs once the window has closed; the owner frees it there.
    std::function<void()> Closed;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    // The hint of a formula picture follows a value: set each time the
    // mouse comes over it.
    void HintFromValue(TFormulaPicture* picture, std::function<QString()> hint);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<QPoint>& place_;
    std::vector<std::pair<QWidget*, std::function<QString()>>> valueHints_;
};

// A row of the value window (TValueList in the design; that name is the
// value record's list here): picture, label (3 pixels lower) and edit.
struct TValueRowList {
    TFormulaPicture* Image = nullptr;
    QLabel* Label = nullptr;
    QLineEdit* Edit = nullptr;
    void SetTop(int top);
};

// A row of the integral window: label, "Mostrar" and "Diff" radios and the
// value edit, placed, enabled and disabled together.
struct TIntegralList {
    QLabel* Label = nullptr;
    QRadioButton* Show = nullptr;
    QRadioButton* Diff = nullptr;
    QLineEdit* Edit = nullptr;
    void SetTop(int top);
    void Enable();
    void Disable();
};

// The hint of a value: its number as FloatToStr writes it, or "error".
QString ValueHint(bool defined, long double value);

// The picture typesets the formula as compiled with the mode (a copy: the
// document is the session's to change).
void ShowFormulaOf(TFormulaPicture* picture, const TKavirofunction& formula, int mode);
void ShowPlainFormula(TFormulaPicture* picture, const TKavirofunction& formula);

// The glyph of the buttons that show or hide a tool's line on the graph: a
// grey vertical line.
QIcon MarkerLineIcon();
