#pragma once

// The note editor ("Anotação"): a window of four sheets, the text of the
// stickers shown on the graph ("colante") with their look, the scripts
// ("Script"), the table ("Table") and a plain note ("Nota"). OK and Apply
// take the sheets into the document in one step; Cancel leaves it as it
// was. One editor at a time, made when first opened and freed on close; it
// follows the document while it is open.
#include "notes/TablePage.h"
#include "session/DocumentParticipants.h"
#include "session/NoteSheets.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TStyleButton;

class TdocForm final : public QWidget {
public:
    TdocForm();
    ~TdocForm() override;

    // The sheets, in their order.
    enum TSheet { StickerSheet = 0, ScriptSheet = 1, TableSheet = 2, NotaSheet = 3 };
    QTabWidget* PageControl1;
    QPlainTextEdit* MemoSticker;
    QPlainTextEdit* MemoScript;
    QPlainTextEdit* MemoNota;
    // The stickers' look: "Mostrar" (style), "BGCor", "Côr" and "Letra".
    TStyleButton* SBMemoStyle;
    TStyleButton* SBBGColor;
    TStyleButton* SBColor;
    QComboBox* CBSize;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QPushButton* BtnApl;
    // The script sheet's popup menu.
    QMenu* pmScript;
    TTablePage& TablePage() { return *tablePage_; }

    // The sheets and the sticker controls as the document has them.
    void FillFromDocument();
    // Takes the sheets into the document (the compiler's messages shown);
    // whether the notes and scripts applied.
    bool ApplyChanges();
    // OK: applied, then closed when that succeeded.
    void btnOKClick();
    // Apply: applied; the editor stays.
    void BtnAplClick();
    // The sticker sheet shown, the caret after two blank lines at its end
    // for a new sticker.
    void PrepareAppend();
    // A script menu item: its text at the script sheet's caret.
    void Draw2Click(const QString& caption);
    // The sheet's tab is highlighted: the sheet holds something.
    bool IsTabHighlighted(TSheet sheet) const;
    // The style the controls hold, applied on OK or Apply.
    const TStickerStyle& WorkingStyle() const { return working_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills the editor again when the document is replaced.
    class DocumentSteps final : public TDocumentParticipant {
    public:
        explicit DocumentSteps(TdocForm& form)
            : form_(form)
        {
        }
        std::optional<TDocumentError> DocumentReplaced(const QStringList& noteLines) override;

    private:
        TdocForm& form_;
    };

    QWidget* BuildStickerSheet();
    void BuildButtons(QWidget* row);
    void BuildScriptMenu();
    void ShowScriptMenu(QPoint globalPos);
    void ShowStyleControls();
    void ShowTabHighlights();
    TNoteSheetTexts SheetTexts() const;

    TStickerStyle working_;
    std::unique_ptr<TTablePage> tablePage_;
    QAction* scriptUndo_ = nullptr;
    QAction* scriptCut_ = nullptr;
    QAction* scriptCopy_ = nullptr;
    QAction* scriptPaste_ = nullptr;
    DocumentSteps documentSteps_{*this};
    TDocumentParticipation followsDocument_{documentSteps_, TDocumentOrder::NoteEditor};
};

// The editor, made on first use, shown and brought to the front.
TdocForm& ShowDocForm();
// The editor on its sticker sheet, ready for a new sticker.
TdocForm& ShowDocFormForAppend();
// The open editor, or null.
TdocForm* OpenDocForm();
// The open editor closes without applying (a new document).
void CloseDocForm();
