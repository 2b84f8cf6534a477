#include "dialogs/ToolForm.h"

#include "dialogs/FormLook.h"
#include "dialogs/HintSetting.h"
#include "dialogs/PermanentForms.h"
#include "dialogs/PropertyDialog.h"
#include "engine/Compiler.h"
#include "model/Formula.h"
#include "model/NumberText.h"
#include "session/RowModels.h"
#include "model/Options.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QPainter>
#include <QPixmap>

TToolForm::TToolForm(const char* objectName, const QString& caption, std::optional<QPoint>& place)
    : QWidget(nullptr, Qt::Window)
    , place_(place)
{
    setObjectName(QString::fromUtf8(objectName));
    setWindowTitle(caption);
    setFont(FormFont(8));
    FillBackground(*this, FormColor);
    move(place_ ? *place_ : DialogAnchorPos());
}

void TToolForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    TakeHintSetting(*this);
}

void TToolForm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    place_ = pos();
    if (Closed)
        Closed();
}

void TToolForm::HintFromValue(TFormulaPicture* picture, std::function<QString()> hint)
{
    QWidget* widget = picture;
    valueHints_.emplace_back(widget, std::move(hint));
    widget->installEventFilter(this);
}

bool TToolForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::ToolTip) {
        for (const auto& [widget, hint] : valueHints_)
            if (widget == watched)
                widget->setToolTip(hint());
    }
    return QWidget::eventFilter(watched, event);
}

QString ValueHint(bool defined, long double value)
{
    return defined ? FormatGeneral(value, 15, Separators.DecimalChar) : QStringLiteral("error");
}

QIcon MarkerLineIcon()
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::white);
    QPainter painter(&glyph);
    painter.fillRect(7, 1, 2, 14, QColor(0x80, 0x80, 0x80));
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(glyph);
}

void ShowFormulaOf(TFormulaPicture* picture, const TKavirofunction& formula, int mode)
{
    TKavirofunction copy = formula;
    PrepareExpression(copy, mode);
    picture->ShowFormula(copy.NormText, RowMetrics.RowSize);
}

void ShowPlainFormula(TFormulaPicture* picture, const TKavirofunction& formula)
{
    ShowFormulaOf(picture, formula, ModePlain);
}

void TValueRowList::SetTop(int top)
{
    Image->move(Image->x(), top);
    Label->move(Label->x(), top + 3);
    Edit->move(Edit->x(), top);
}

void TIntegralList::SetTop(int top)
{
    for (QWidget* w : {static_cast<QWidget*>(Label), static_cast<QWidget*>(Show), static_cast<QWidget*>(Diff),
                       static_cast<QWidget*>(Edit)})
        w->move(w->x(), top);
}

void TIntegralList::Enable()
{
    for (QWidget* w : {static_cast<QWidget*>(Label), static_cast<QWidget*>(Show), static_cast<QWidget*>(Diff),
                       static_cast<QWidget*>(Edit)})
        w->setEnabled(true);
}

void TIntegralList::Disable()
{
    for (QWidget* w : {static_cast<QWidget*>(Label), static_cast<QWidget*>(Show), static_cast<QWidget*>(Diff),
                       static_cast<QWidget*>(Edit)})
        w->setEnabled(false);
}
