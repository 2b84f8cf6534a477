#include "dialogs/ToolWindowHost.h"

#include "dialogs/FormIvalue.h"
#include "dialogs/FormYValue.h"
#include "session/EditScope.h"

#include <QToolButton>

namespace {

// A window that has closed goes once the event that closed it is handled.
template <class Form>
void FreeLater(std::unique_ptr<Form>& form)
{
    form.release()->deleteLater();
}

} // namespace

TToolWindowHost::TToolWindowHost(QToolButton* valueButton, QToolButton* integralButton)
    : valueButton_(valueButton)
    , integralButton_(integralButton)
{
    for (QToolButton* button : {valueButton_, integralButton_}) {
        button->setCheckable(true);
        button->setEnabled(true);
    }
    QObject::connect(valueButton_, &QToolButton::clicked, valueButton_, [this] { sbYvalueClick(); });
    QObject::connect(integralButton_, &QToolButton::clicked, integralButton_, [this] { sbIvalueClick(); });
}

// The program ends: the windows go without drawing the graph again.
TToolWindowHost::~TToolWindowHost()
{
    if (formYValue_) {
        DetachValueTable(false);
        formYValue_->Closed = nullptr;
    }
    if (formIvalue_) {
        DetachIntegral(false);
        formIvalue_->Closed = nullptr;
    }
}

void TToolWindowHost::sbYvalueClick()
{
    const TEditScope action;
    if (formIvalue_)
        formIvalue_->close();
    if (formYValue_)
        formYValue_->close();
    else
        OpenValueTable();
}

void TToolWindowHost::sbIvalueClick()
{
    const TEditScope action;
    if (formYValue_)
        formYValue_->close();
    if (formIvalue_)
        formIvalue_->close();
    else
        OpenIntegral();
}

void TToolWindowHost::OpenValueTable()
{
    formYValue_ = std::make_unique<TFormYValue>();
    formYValue_->Closed = [this] { ValueTableClosed(); };
    formYValue_->show();
    valueButton_->setChecked(true);
    AttachValueTable(*formYValue_);
}

void TToolWindowHost::OpenIntegral()
{
    formIvalue_ = std::make_unique<TFormIvalue>();
    formIvalue_->Closed = [this] { IntegralClosed(); };
    formIvalue_->show();
    integralButton_->setChecked(true);
    AttachIntegral(*formIvalue_);
}

void TToolWindowHost::ValueTableClosed()
{
    valueButton_->setChecked(false);
    DetachValueTable();
    FreeLater(formYValue_);
}

void TToolWindowHost::IntegralClosed()
{
    integralButton_->setChecked(false);
    DetachIntegral();
    FreeLater(formIvalue_);
}
