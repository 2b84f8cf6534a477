#include "dialogs/PermanentForms.h"

#include <QWidget>

TPermanentForms Forms;

namespace {

void SetMainFormsEnabled(bool enabled)
{
    for (QWidget* window : {Forms.GraphWindow, Forms.DataPanel})
        if (window)
            window->setEnabled(enabled);
}

} // namespace

void DisableMainForms()
{
    SetMainFormsEnabled(false);
}

void EnableMainForms()
{
    SetMainFormsEnabled(true);
}

QPoint DialogAnchorPos()
{
    const QPoint origin = Forms.GraphWindow ? Forms.GraphWindow->pos() : QPoint{};
    return origin + QPoint{340, 60};
}
