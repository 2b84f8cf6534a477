#include "render/view/ViewServices.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <climits>

namespace {

// No window yet: no data panel and a work area wider than any graph.
class NoRedrawWindow final : public TRedrawWindow {
public:
    std::optional<int> DataPanelWidth() override { return std::nullopt; }
    int WorkAreaWidth() override { return INT_MAX / 2; }
};

class NoRedrawer final : public TRedrawer {
public:
    void Redraw(ScaleT&, TGraphImages&) override {}
    void PushViewHistory(const ScaleT&) override {}
};

// Leaves the name as it is.
class UntranslatedAxisNames final : public TAxisNameTranslator {
public:
    QString TranslateAxisName(const QString& caption) override { return caption; }
};

} // namespace

namespace {

bool HasGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

void TRedrawWindow::BeginBusyCursor()
{
    if (HasGuiApplication())
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void TRedrawWindow::EndBusyCursor()
{
    if (HasGuiApplication())
        QGuiApplication::restoreOverrideCursor();
}

void ScaleT::Redraw(TGraphImages& images)
{
    CurrentRedrawer().Redraw(*this, images);
}

TRedrawWindow& CurrentRedrawWindow()
{
    return platform::InstalledOr<TRedrawWindow, NoRedrawWindow>();
}

TRedrawer& CurrentRedrawer()
{
    return platform::InstalledOr<TRedrawer, NoRedrawer>();
}

TAxisNameTranslator& CurrentAxisNameTranslator()
{
    return platform::InstalledOr<TAxisNameTranslator, UntranslatedAxisNames>();
}
