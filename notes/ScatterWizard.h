#pragma once

// The scatter wizard ("Scatter gráfico"): two columns of the table become
// a point sequence, drawn as points, as lines through them, or both.
#include "session/ScatterWizard.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class TGwizard1 final : public QDialog {
public:
    TGwizard1(const TScatterProposal& proposal, QWidget* parent);

    QComboBox* cbName;
    QComboBox* cbXColumn;
    QComboBox* cbYColumn;
    QLineEdit* EditFirstRow;
    QLineEdit* EditLastRow;
    QCheckBox* CheckPoints;
    QCheckBox* CheckLines;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

    // Shown modally: the number of the object made, -1 for none.
    int Run();
    void BtnOKClick();

private:
    int result_ = -1;
};
