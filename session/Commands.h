#pragma once

// The data panel's commands that need no widget: a new document, parameters
// back to their start, dropped files, help files, the file association,
// erasing, hiding and showing rows. The window steps they need go through
// TCommandHost; the answers to questions through the message box.
#include "platform/ServiceSlot.h"

#include <QList>
#include <QString>
#include <QUrl>

// What the commands ask of the windows beyond the project host.
class TCommandHost {
public:
    virtual ~TCommandHost() = default;
    // The calculator forgets its target fields, the note window closes and
    // every sticker is hidden.
    virtual void CloseDocumentWindows() = 0;
    // The calculator window closes.
    virtual void CloseCalculator() = 0;
    // The graph window's tool palette back to its start.
    virtual void ResetTools() = 0;
    // Both windows at the top of the screen, the data panel as high as the
    // graph window, the parameter panel's trace button released.
    virtual void ArrangeWindowsAtTop() = 0;
    // The picture series was switched off: its controls show it.
    virtual void StopPictureSeries() = 0;
};

class TNoCommandHost final : public TCommandHost {
public:
    void CloseDocumentWindows() override {}
    void CloseCalculator() override {}
    void ResetTools() override {}
    void ArrangeWindowsAtTop() override {}
    void StopPictureSeries() override {}
};

TCommandHost& CurrentCommandHost();
using ScopedCommandHost = platform::ScopedService<TCommandHost>;

// Messages of the commands.
inline const QString ClearDocumentQuestion = QStringLiteral("Limpar dado atual com [OK]");
inline const QString ResetParamsQuestion = QStringLiteral("Iniciar todos os parâmetros com [OK]");
inline const QString EraseQuestion = QStringLiteral("Apagar com [OK]");
inline const QString NoHelpFileMessage = QStringLiteral("Não existe arquivo de ajuda");
inline const QString UnusableFileMessage = QStringLiteral("Este arquivo não pode ser usado");
inline const QString AssociateQuestion = QStringLiteral("Arquivo com extensão \"kvf\" será aberto com KAVIRO");

// Help files in the program's folder.
inline const QString HtmlHelpFile = QStringLiteral("html/index.html");
inline const QString PdfHelpFile = QStringLiteral("kaviro_manual.pdf");

// Everything back to a new document: windows, file state, the document,
// traces and figures, the options and the view, the panels and rows.
void InitAllData();
// "Iniciar": a modified document is cleared only when the user confirms.
// Whether it was cleared.
bool Init1Click();

// "Abrir Arquivo" and "Abrir Exemplo": a project chosen in the open chooser
// (starting at the current file, or in the sample folder) replaces the
// document after the user confirms losing it. Whether one was opened.
bool OpenFileClick();
bool OpenSampleClick();
// "Salvar": into the current file; without one, as "Salvar Como".
bool OverwriteClick();
// "Salvar Como": a name chosen in the save chooser, then saved there.
bool NewWriteClick();

// Every parameter back to its start value after the user confirms; the
// graph is redrawn. Whether they were reset.
bool ResetParamsAsked();

// The shell opens ProgramDir + file; without it, a message. Whether it
// was opened.
bool ShowHelpFile(const QString& file);
// ProgramDir + file exists.
bool HelpFileExists(const QString& file);
// The sample lessons' folder is beside the program ("Abrir Exemplo").
bool SampleFolderExists();

// What a drop on either main window names: a local file's path, or an
// empty string when it is a web link, text or anything but a local file.
QString DroppedLocalFile(const QList<QUrl>& urls);
// Opens the first of the dropped files when it is a project: after asking
// when the document has something to lose, as a new document. Anything
// else is refused with a message and never read. Whether it was opened.
bool DropProjectFile(const QList<QUrl>& urls);

// "Associação de Arquivos": asks, then records the association. Whether it
// was recorded.
bool SetAssociateAsked();

// The records a data panel row stands for.
enum class TRowItem { Function, Relation, Object, Param, UserFunction, Figure };

// "Apagar": asks, then stores the empty record in the slot (a figure is
// deleted) and redraws. Whether it was erased.
bool EraseRowItem(TRowItem kind, int slot);
// "Limpar Traços" on a row: that record's traces go and the graph is redrawn.
void ClearRowTraces(TRowItem kind, int slot);
// A row's show button: the record's visible flag flips; the caller redraws.
void ToggleItemVisible(TRowItem kind, int slot);
// "Esconder Dados": the row is no longer listed; the record stays drawn.
void HideRow(TRowItem kind, int slot);
// "Mostrar Dados": every row of the tag's kinds is listed again (0 all,
// 1 functions, 2 relations, 3 curves, 4 the other objects, 5 parameters,
// 6 user functions, 7 figures).
void ShowAllRows(int tag);

// Which items of the row menu a row offers.
struct TRowMenuItems {
    bool Edit = true;
    bool Erase = true;
    bool ClearTraces = true;
    bool Hide = true;
    bool operator==(const TRowMenuItems&) const = default;
};
TRowMenuItems RowMenuItems(TRowItem kind);
