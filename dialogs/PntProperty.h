#pragma once

#include "dialogs/PropertyDialog.h"
#include "model/DocumentState.h"

#include <QStringList>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

// The object dialog: opens on object n; flags bit 0 enables the kinds 1..4,
// bit 1 the kinds 5..7.
void ShowPntProperty(int n, int flags);

// The label templates the label box offers for an object of that kind with
// that letter, field formulas written with the list separator.
QStringList LabelTemplates(int kind, QChar letter);

// Edits a copy of one elementary object: its kind, formulas, styles, label
// and flags; OK checks the copy and stores it with one store operation.
class TPntProperty final : public TPropertyDialog {
public:
    TPntProperty();

    void LoadObject(int n, int flags);
    // Lays the dialog out for the kind and stores it in the copy.
    void SetKind(int kind);
    // The copy's formulas, step, letter, label and flags in the controls.
    void ShowFields();
    void FormActivate();

    void BtnOkClick();
    void BtnDeleteClick();
    void OkClick() override { BtnOkClick(); }

    // Clicks on the formula pictures.
    void EditX();
    void EditY();
    void EditR();
    void EditVector();
    void EditLow();
    void EditHigh();
    // The interval popups' fixed texts.
    static const QStringList& HighChoices();
    static const QStringList& LowChoices();
    void SetIntervalText(bool high, const QString& text);
    // One round step up or down from the step the edit shows.
    void StepParamStep(int direction);

    const TPointFunction& Copy() const { return copy_; }
    int Slot() const { return slot_; }

    QGroupBox* GBFigure;
    std::array<QRadioButton*, 8> KindButtons{}; // by kind 1..7
    QRadioButton* RBPoint;
    QRadioButton* RBcircle;
    QRadioButton* RBHline;
    QRadioButton* RBVline;
    QRadioButton* RBPolor;
    QRadioButton* RBLocus;
    QRadioButton* rbSequence;

    QGroupBox* GBPoint;
    QLabel* lblV;
    TFormulaPicture* IMGV;
    QLabel* lblX;
    TFormulaPicture* ImgX;
    QLabel* lblY;
    TFormulaPicture* imgY;
    QCheckBox* CBVector;
    QCheckBox* CBDrag;
    QCheckBox* CBPAI;

    QGroupBox* GBCircle;
    QLabel* lblR;
    TFormulaPicture* ImgR;
    QCheckBox* CBRAI;

    QGroupBox* GBCurve;
    QGroupBox* GBInterval;
    TFormulaPicture* ImgLow;
    QToolButton* stPrmchar;
    TFormulaPicture* ImgHigh;
    QMenu* PopupLow;  // fixed texts of the interval's ends
    QMenu* PopupHigh;
    QGroupBox* GBStep;
    QLineEdit* edPrmD;
    QToolButton* sbPrmDup;
    QToolButton* sbPrmDDwn;
    QCheckBox* cbSync;
    QCheckBox* CBLAI;

    QGroupBox* GBStyle;
    TStyleButton* SBPcolor;
    TStyleButton* SBWidth;
    TStyleButton* SBPstyle;
    TStyleButton* SBRcolor;
    TStyleButton* SBRWidth;
    TStyleButton* sbLstyle;
    TStyleButton* SBIcolor;
    TStyleButton* SBPtn;
    TStyleButton* SBFtype;
    QGroupBox* GBLocus;
    TStyleButton* SBLocus;

    QGroupBox* GBLabel;
    QComboBox* Edit1;
    std::array<QToolButton*, 10> LabelPosButtons{}; // SBLB1..SBLB9

    QFrame* PanelOk;
    QPushButton* BtnOK;
    QPushButton* btnDelete;
    QPushButton* btncancel;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildKinds();
    void BuildFormulas();
    void BuildCurve();
    void BuildStyles();
    void BuildLabel();
    void BuildButtons();
    void Connect();
    void EditFormula(TKavirofunction& record, QWidget* picture, const QString& caption, int mode);
    void VectorClick(bool on);
    void LabelChosen(int index);
    void SetLabelPos(int position);
    void ShowLabelTemplates();
    // The step edit read into the copy; false when it is no number.
    bool ReadStep();
    // The copy completed for its kind and checked; false, with the message
    // shown, when it cannot be stored.
    bool CompleteCopy();
    // A curve's parameter, trace and synchronisation read into c; false when
    // its formulas do not use the parameter.
    bool TakeCurveSettings(TPointFunction& c);
    // The palette's letters under stPrmchar.
    void OpenLetterPanel();
    // The curve parameter letter as stPrmchar shows it.
    char16_t ShownParamChar() const;
    bool IsCurve() const;
    std::array<TStyleButton*, 10> StyleButtons() const;

    TPointFunction copy_;
    int slot_ = 0;
    QChar letter_;
    TColor panelColor_ = 0;
};
