#include "dialogs/MsgForm.h"
#include "engine/EngineResets.h"
#include "engine/EngineStartup.h"
#include "engine/TokenTable.h"
#include "model/Options.h"
#include "model/ProgramState.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char* argv[])
{
    // No windows exist yet, so the program runs without a display.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("KAVIRO"));

    // Messages go to the message box once the program has windows; until
    // then they are written to standard error.
    InstallMessageBox();
    InitializeDocument();
    InitializeEngine();
    // The global tables of every library, so that they can be put back to
    // their start-up values.
    RegisterEngineResets();

    // Every argument, joined by blanks, names the project to open.
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const QString project = args.join(u' ');

    std::printf("Kaviro: model and formula vocabulary started (%d tokens, decimal '%s', list '%s').\n",
                VocabularySize, qPrintable(QString(Separators.DecimalChar)),
                qPrintable(QString(Separators.ListSepChar)));
    std::printf("The windows are not built yet: there is nothing to show.\n");
    if (!project.isEmpty())
        std::printf("Project named on the command line (not opened yet): %s\n", qPrintable(project));
    return 0;
}
