#pragma once

#include "engine/TokenDumpViewer.h"
#include "model/Colors.h"
#include "model/Formula.h"
#include "model/Value.h"
#include "platform/ServiceSlot.h"
#include "render/gfx/Bitmap.h"
#include "render/markup/TypesetImage.h"
#include "session/CalculatorKeys.h"

#include <QDialog>
#include <QString>
#include <array>
#include <vector>

class QAbstractButton;
class QComboBox;
class QFont;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolButton;
class QWidget;
class TCalcPreview;

// The calculator and formula keyboard ("Calculadora"). Made once at
// start-up, without a parent (disabling the main windows for a dialog never
// disables it), and kept until the program ends. Free, it computes typed
// expressions; opened modally through the modal runner by one of the Edit*
// entries, it edits a formula or a number and sends it back to its target.
// Each Edit* entry returns true when the user sent, false when he closed.
class TCalcForm final : public QDialog, private TCalculatorResultField, private TTokenDumpViewer {
public:
    TCalcForm();
    ~TCalcForm() override;

    // A formula record of a dialog, compiled on send with the mode (-1 for
    // the function dialog's editor, -2 plain expressions, -3 user functions,
    // 0 relations, 1..22 object formulas). The picture is repainted after a
    // send; the caller draws the record anew.
    bool EditExpression(const QString& caption, const QFont& captionFont, QWidget* picture, TColor color, int mode,
                        TKavirofunction& record);
    // User function n (1..8), stored through SetUsr; the caption is the
    // edit control's text (its "text" property) in its font.
    bool EditUsr(QWidget* editControl, QWidget* picture, TColor color, int n);
    // A number field of a dialog: the value is written and the edit shows it.
    bool EditValueField(const QString& caption, const QFont& font, TColor color, QLineEdit* edit,
                        long double& value);
    bool EditDetailField(const QString& caption, const QFont& font, TColor color, QLineEdit* edit,
                         long double& value);
    // A table cell, evaluated on "=" with the row's inputs x, y, z, w; the
    // edit receives the typed text.
    bool EditCell(const QString& caption, const QFont& font, TColor color, QLineEdit* edit, const TValue& x,
                  const TValue& y, const TValue& z, const TValue& w);
    // Parameter n's value (1..14) from its edit; the value edit (the edit
    // itself when null) shows the new value.
    bool EditPrm(QLineEdit* edit, int n, TColor color, QLineEdit* valueEdit);
    // Parameter n's step, prompted "Stepsize="; the edit shows the new step.
    // A step of 0 is refused and the calculator stays open.
    bool EditPrmStep(QLineEdit* stepEdit, int n, TColor color);

    void SetCaption(const QString& text, const QFont& font);
    // The three switchable groups of buttons.
    void EnableGroups(bool a, bool b, bool c);
    void ClearTargets();
    // Closing: targets, inputs, caption and text cleared, groups disabled,
    // the colour grey. Always allows the close.
    bool FormCloseQuery();

    // A keyboard button by object name; null for none.
    QAbstractButton* KeyButton(const QString& name) const;
    // The compile mode of the current target.
    int CompileMode() const { return mode_; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The value "=" computed, and the diagnostics' token dumps.
    void ShowResultText(const QString& text) override;
    void ShowTokenDump(const QString& text) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class TTargetKind { None, Expression, UserFunction, Cell, NumberField, Parameter, ParameterStep };
    struct TTargets {
        TTargetKind Kind = TTargetKind::None;
        TKavirofunction* Record = nullptr;
        long double* Value = nullptr;
        QLineEdit* Edit = nullptr;
        QLineEdit* SecondEdit = nullptr;
        QWidget* Picture = nullptr;
        int Number = 0;
    };
    void BuildControls();
    QWidget* BuildGroup(int group);
    void ApplyKeyTexts();
    void ShowForMode();
    void PlaceAtAnchor();

    TEditLine CurrentEditLine() const;
    void PressKey(const TCalcKey& key);
    void InsertAtCaret(const QString& text);
    void SetEditLine(const TEditLine& line);
    void EditCalcChange();
    void DrawPreview();
    void BtnEqualClick();
    void BtnSendToClick();
    bool SendToTarget();
    void BtnCopyClick();
    void ShowAreaClick();
    void AskToQuit();
    void UpdateSendButton();
    void ShowSendCaption();

    void PrepareOpen(QWidget* caller, const QString& caption, const QFont& font, TColor color, const QString& text);
    void OpenOver(QWidget* caller);
    void ReleaseOwner();
    bool RunEditor();
    void SetFormColor(TColor color);

    QLabel* captionLabel_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QWidget* previewPanel_ = nullptr;
    TCalcPreview* preview_ = nullptr;
    QLabel* resultLabel_ = nullptr;
    QPushButton* equalButton_ = nullptr;
    QPushButton* sendButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QToolButton* areaButton_ = nullptr;
    QComboBox* functionList_ = nullptr;
    QStatusBar* statusLine_ = nullptr;
    std::array<QWidget*, 4> groups_{};
    std::vector<TCalcKey> keys_;

    TKavirofunction work_;
    TTokenString tokens_;
    TTargets targets_;
    int mode_ = -2;
    std::array<TValue, 4> inputs_{};
    TValue result_{};
    TNoiseCounter noise_;
    TBitmap image_;
    platform::ScopedService<TTokenDumpViewer> showDumps_{*this};
    bool sent_ = false;
    bool editing_ = false; // opened by an Edit* entry, not free
    bool changing_ = false;
    bool placed_ = false;
};
