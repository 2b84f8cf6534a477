#pragma once

#include "dialogs/PropertyDialog.h"
#include "model/DocumentState.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

// The function and relation dialog: opens on function n or relation n
// (a free slot makes a new entry).
void ShowYfxProperty(int n);
void ShowCfnProperty(int n);

// Edits a copy of one function y = f(x) or relation 0 = f(x, y): the formula
// through the calculator's editor over its picture, the style through the
// palette; OK checks the copy and stores it with one store operation.
class TCfxProperty final : public TPropertyDialog {
public:
    TCfxProperty();

    void LoadFunction(int n);
    void LoadRelation(int n);
    // The copy's style on the buttons and its formula typeset.
    void ShowStyle();

    void ImgFunctionClick();
    void BtnOKClick();
    void BtnDeleteClick();
    void OkClick() override { BtnOKClick(); }

    const TEquationFunction& Copy() const { return copy_; }
    int Slot() const { return slot_; }

    QFrame* Panel3;
    TFormulaPicture* ImgFunction;
    QLabel* gboxf;
    QFrame* Panel1;
    TStyleButton* SBPcolor;
    TStyleButton* SBWidth;
    TStyleButton* sbLstyle;
    TStyleButton* SBPtn;
    TStyleButton* SBborder;
    QLabel* lblColor;
    QLabel* lblwidth;
    QLabel* lblLStyle;
    QLabel* lblInside;
    QLabel* lblBorder;
    QCheckBox* CBAI;
    QFrame* Panel2;
    QCheckBox* CboxAutoCalc;
    QFrame* PanelOk;
    QPushButton* BtnOK;
    QPushButton* btnDelete;
    QPushButton* btncancel;

private:
    void Load(int n, bool relation);
    // After the dialog is set up: a new entry goes to the editor first and
    // is shown only when it got a formula.
    void Present();
    int Mode() const;

    TEquationFunction copy_;
    int slot_ = 0;
    bool relation_ = false;
    QString name_;
    TColor panelColor_ = 0;
};
