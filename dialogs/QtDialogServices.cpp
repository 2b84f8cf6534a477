#include "dialogs/QtDialogServices.h"

#include "dialogs/QtPrinting.h"
#include "dialogs/QtSystemErrorBox.h"

#include "model/Colors.h"
#include "render/gfx/ColorConvert.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>

namespace {

std::optional<platform::SavedFileChoice> RunFileDialog(const platform::FileChoice& choice,
                                                       QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(QApplication::activeWindow(), choice.caption, choice.folder, choice.filter);
    const bool saving = mode == QFileDialog::AcceptSave;
    dialog.setObjectName(saving ? QStringLiteral("DlgSave") : QStringLiteral("DlgOpen"));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !choice.confirmOverwrite);
    // The suffix is added before the dialog asks about replacing a file.
    dialog.setDefaultSuffix(choice.defaultSuffix);
    const QStringList filters = choice.filter.split(QStringLiteral(";;"));
    if (choice.filterIndex >= 1 && choice.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[choice.filterIndex - 1]);
    if (!choice.fileName.isEmpty())
        dialog.selectFile(choice.fileName);
    if (platform::RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const int selected = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    return platform::SavedFileChoice{dialog.selectedFiles().first(), selected < 0 ? choice.filterIndex : selected + 1};
}

std::optional<QString> PathOf(const std::optional<platform::SavedFileChoice>& chosen)
{
    return chosen ? std::optional(chosen->path) : std::nullopt;
}

} // namespace

int QtModalRunner::run(QObject& dialog)
{
    auto* modal = qobject_cast<QDialog*>(&dialog);
    return modal ? modal->exec() : QDialog::Rejected;
}

std::optional<QString> QtFileChooser::chooseOpenFile(const platform::FileChoice& choice)
{
    return PathOf(RunFileDialog(choice, QFileDialog::AcceptOpen));
}

std::optional<QString> QtFileChooser::chooseSaveFile(const platform::FileChoice& choice)
{
    return PathOf(RunFileDialog(choice, QFileDialog::AcceptSave));
}

std::optional<platform::SavedFileChoice> QtFileChooser::chooseSaveFileOfType(const platform::FileChoice& choice)
{
    return RunFileDialog(choice, QFileDialog::AcceptSave);
}

std::optional<std::uint32_t> QtColorChooser::chooseColor(std::uint32_t initial)
{
    QColorDialog dialog(ToQColor(initial), QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("DlgColor"));
    if (platform::RunModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    return MakeColor(chosen.red(), chosen.green(), chosen.blue());
}

bool InstallDialogServices()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    static QtModalRunner modalRunner;
    static QtFileChooser fileChooser;
    static QtColorChooser colorChooser;
    static QtSystemErrorBox systemErrorBox;
    static QtProgramPrinting printing;
    static QtPrinterSetup printerSetup;
    platform::ServiceSlot<platform::ModalRunner>::install(&modalRunner);
    platform::ServiceSlot<platform::FileChooser>::install(&fileChooser);
    platform::ServiceSlot<platform::ColorChooser>::install(&colorChooser);
    platform::ServiceSlot<platform::SystemErrorBox>::install(&systemErrorBox);
    platform::ServiceSlot<platform::Printing>::install(&printing);
    platform::ServiceSlot<platform::PrinterSetup>::install(&printerSetup);
    return true;
}
