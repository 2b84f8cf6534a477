#include "windows/WindowHosts.h"

#include "dialogs/PermanentForms.h"
#include "session/ProjectFile.h"
#include "session/StoreOperations.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QGuiApplication>
#include <QScreen>

QRect WorkArea()
{
    const QScreen* screen = Forms.GraphAreaForm ? Forms.GraphAreaForm->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

std::optional<int> TWindowRedrawHost::DataPanelWidth()
{
    if (!Forms.MainConsole)
        return std::nullopt;
    return Forms.MainConsole->frameGeometry().width();
}

int TWindowRedrawHost::WorkAreaWidth()
{
    return WorkArea().width();
}

bool TWindowRedrawHost::InRefreshAll()
{
    return ProjectFile.InRefreshAll;
}

// Values typed into parameter rows but not yet applied count in the redraw.
void TWindowRedrawHost::ApplyPendingPrmEdits()
{
    ::ApplyPendingPrmEdits();
}

void TWindowRedrawHost::RepaintGraph()
{
    if (Forms.GraphAreaForm)
        Forms.GraphAreaForm->RepaintGraph();
}

void TWindowProjectHost::SetFileCaption(const QString& fileName)
{
    if (Forms.GraphAreaForm)
        Forms.GraphAreaForm->SetFileCaption(fileName);
}

int TWindowProjectHost::PageControlHeight()
{
    return Forms.GraphAreaForm ? Forms.GraphAreaForm->PageControlHeight() : 0;
}

void TWindowProjectHost::ResizeGraphArea()
{
    if (Forms.GraphAreaForm)
        Forms.GraphAreaForm->ResizeGraphArea();
}
