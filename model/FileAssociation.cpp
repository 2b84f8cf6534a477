#include "model/FileAssociation.h"

#include "model/MessageBox.h"
#include "platform/FileAssociation.h"

#include <QCoreApplication>

namespace {

platform::FileTypeAssociation ProjectFileType()
{
    return {
        .id = QStringLiteral("kaviro"),
        .extension = QStringLiteral("kvf"),
        .description = QStringLiteral("KAVIRO Project File"),
        .mimeType = QStringLiteral("application/x-kaviro-project"),
        .programName = QStringLiteral("KAVIRO"),
        .programPath = QCoreApplication::applicationFilePath(),
    };
}

} // namespace

bool RegisterFileAssociation()
{
    if (platform::CurrentFileAssociation().add(ProjectFileType()))
        return true;
    ShowMsgBox(QStringLiteral("Erro ao registrar a associação de arquivo"), MsgError, MsgOk);
    return false;
}

void UnregisterFileAssociation()
{
    platform::FileAssociation& association = platform::CurrentFileAssociation();
    const platform::FileTypeAssociation type = ProjectFileType();
    if (!association.exists(type))
        return;
    if (ShowMsgBox(QStringLiteral("Liberar associação de arquivo com [OK]"), MsgWarning, MsgOkCancel))
        association.remove(type);
}
