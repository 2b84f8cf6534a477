#include "notes/ScatterWizard.h"

#include "dialogs/FormLook.h"
#include "platform/ModalRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QComboBox* ColumnBox(QWidget* parent, const char* name, int column)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (int c = 0; c <= TableColumns; ++c)
        box->addItem(QString::number(c));
    box->setCurrentIndex(column);
    return box;
}

QLineEdit* RowEdit(QWidget* parent, const char* name, int row)
{
    auto* edit = new QLineEdit(QString::number(row), parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

} // namespace

TGwizard1::TGwizard1(const TScatterProposal& proposal, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Gwizard1"));
    setWindowTitle(QStringLiteral("Scatter gráfico"));
    setFont(FormFont(8));
    setAutoFillBackground(true);

    cbName = new QComboBox(this);
    cbName->setObjectName(QStringLiteral("cbName"));
    for (QChar letter : proposal.Letters)
        cbName->addItem(QString(letter));
    cbXColumn = ColumnBox(this, "cbXColumn", proposal.XColumn);
    cbYColumn = ColumnBox(this, "cbYColumn", proposal.YColumn);
    EditFirstRow = RowEdit(this, "EditFirstRow", proposal.FirstRow);
    EditLastRow = RowEdit(this, "EditLastRow", proposal.LastRow);
    CheckPoints = new QCheckBox(QStringLiteral("Sequência de Pontos"), this);
    CheckPoints->setObjectName(QStringLiteral("CheckPoints"));
    CheckPoints->setChecked(true);
    CheckLines = new QCheckBox(QStringLiteral("Retas"), this);
    CheckLines->setObjectName(QStringLiteral("CheckLines"));
    BtnOK = new QPushButton(QStringLiteral("&O K"), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto* grid = new QGridLayout(this);
    const auto label = [this](const char16_t* text) { return new QLabel(QString::fromUtf16(text), this); };
    grid->addWidget(label(u"nome figura"), 0, 0);
    grid->addWidget(cbName, 0, 1);
    grid->addWidget(label(u"x"), 1, 0);
    grid->addWidget(label(u"coluna"), 1, 1);
    grid->addWidget(cbXColumn, 1, 2);
    grid->addWidget(label(u"y"), 2, 0);
    grid->addWidget(label(u"coluna"), 2, 1);
    grid->addWidget(cbYColumn, 2, 2);
    grid->addWidget(label(u"iniciar linha"), 3, 0, 1, 2);
    grid->addWidget(EditFirstRow, 3, 2);
    grid->addWidget(label(u"linha final"), 4, 0, 1, 2);
    grid->addWidget(EditLastRow, 4, 2);
    grid->addWidget(CheckPoints, 5, 0, 1, 3);
    grid->addWidget(CheckLines, 6, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    grid->addLayout(buttons, 7, 0, 1, 3);

    connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { reject(); });
}

int TGwizard1::Run()
{
    result_ = -1;
    platform::RunModal(*this);
    return result_;
}

void TGwizard1::BtnOKClick()
{
    TScatterChoice choice{cbName->currentText().isEmpty() ? QChar() : cbName->currentText()[0],
                          cbXColumn->currentIndex(),
                          cbYColumn->currentIndex(),
                          EditFirstRow->text(),
                          EditLastRow->text(),
                          CheckPoints->isChecked(),
                          CheckLines->isChecked()};
    const TScatterOutcome outcome = ApplyScatterChoice(choice);
    if (outcome.StayOpen)
        return;
    result_ = outcome.Object;
    done(outcome.Object > 0 ? Accepted : Rejected);
}
