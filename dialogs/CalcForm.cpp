#include "dialogs/CalcForm.h"

#include "dialogs/PermanentForms.h"

#include <QFont>
#include <QString>

TCalcForm::TCalcForm()
{
    setObjectName(QStringLiteral("CalcForm"));
    setWindowTitle(QStringLiteral("Calculadora"));
    setFont(QFont(QString::fromUtf16(FormFontName)));
    Forms.CalcForm = this;
}

TCalcForm::~TCalcForm()
{
    if (Forms.CalcForm == this)
        Forms.CalcForm = nullptr;
}
