#include "dialogs/HintSetting.h"
#include "model/ProgramState.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char TakenHintProperty[] = "kaviroShowHint";

// Eats the tooltip of a control whose window took the switch while it was
// off; a window that never took it keeps its tooltips.
class THintFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        const QVariant taken = static_cast<QWidget*>(watched)->window()->property(TakenHintProperty);
        return taken.isValid() && !taken.toBool();
    }
};

void InstallHintFilter()
{
    static QPointer<THintFilter> filter;
    if (filter || !qApp)
        return;
    filter = new THintFilter(qApp);
    qApp->installEventFilter(filter);
}

} // namespace

bool HintsShown()
{
    return ProgramState.ShowHint != 0;
}

void TakeHintSetting(QWidget& window)
{
    InstallHintFilter();
    window.setProperty(TakenHintProperty, HintsShown());
}

void SetHintsShown(bool on, std::initializer_list<QWidget*> windows)
{
    ProgramState.ShowHint = on ? 1 : 0;
    for (QWidget* window : windows)
        if (window)
            TakeHintSetting(*window);
}
