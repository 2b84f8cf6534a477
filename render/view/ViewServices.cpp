#include "render/view/ViewServices.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <climits>

namespace {

// No window yet: no data panel and a work area wider than any graph.
class NoRedrawHost final : public TRedrawHost {
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

void TRedrawHost::BeginBusyCursor()
{
    if (HasGuiApplication())
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void TRedrawHost::EndBusyCursor()
{
    if (HasGuiApplication())
        QGuiApplication::restoreOverrideCursor();
}

void ScaleT::Redraw(TGraphImages& images)
{
    CurrentRedrawer().Redraw(*this, images);
}

TRedrawHost& CurrentRedrawHost()
{
    return platform::InstalledOr<TRedrawHost, NoRedrawHost>();
}

TRedrawer& CurrentRedrawer()
{
    return platform::InstalledOr<TRedrawer, NoRedrawer>();
}

TAxisNameTranslator& CurrentAxisNameTranslator()
{
    return platform::InstalledOr<TAxisNameTranslator, UntranslatedAxisNames>();
}
