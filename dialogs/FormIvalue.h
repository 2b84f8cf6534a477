#pragma once

// The definite integral ("Integral Definida") of every function over one
// interval, of the difference to a chosen function or as an area; the graph
// shades the chosen function's area and shows the limits as lines the mouse
// can drag. Made when the graph window's button opens it, freed when closed.
#include "dialogs/ToolForm.h"
#include "session/IntegralTool.h"

#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class TFormulaPicture;

class TFormIvalue final : public TToolForm, public TIntegralView {
public:
    TFormIvalue();
    ~TFormIvalue() override;

    TFormulaPicture* SImage;  // the upper limit
    TFormulaPicture* EImage;  // the lower limit
    QToolButton* SBExUpper;   // "Limite Superior": down while its line is off
    QToolButton* SBExLower;   // "Limite Inferior"
    QWidget* RowPanel;
    QWidget* BottomPanel;
    QToolButton* Btnarea1;    // the signed integral
    QToolButton* Btnarea2;    // the area
    QLineEdit* Edit10;        // the partitions
    // Row 0 is "none", rows 1..20 the functions.
    std::array<TIntegralList, FunctionCount + 1> Rows;

    void ShowLimits() override;
    void ShowIntegrals(const TIntegralTable& table) override;
    // Radios, partitions, area and marker buttons from the document.
    void ShowChoices();

    void RB1Click(int row);
    void Rc1Click(int row);
    void SImageClick(bool upper);
    void SBExClick(bool upper);
    void Edit10Exit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsShown() override;
    void ShowDocument() override;
    void BuildRows();
    void BuildBottomPanel();
    void LayOut(int rowAreaHeight);

    QButtonGroup* showGroup_ = nullptr;
    QButtonGroup* diffGroup_ = nullptr;
    bool checkingSlices_ = false;
};
