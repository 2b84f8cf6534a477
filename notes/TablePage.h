#pragma once

// The note editor's "Table" sheet as the editor sees it. The table sheet
// implements it and installs its maker at start-up; until then the sheet is
// an empty page.
#include <QWidget>
#include <functional>
#include <memory>

class TTablePage {
public:
    virtual ~TTablePage() = default;
    // The page the editor puts in its "Table" sheet.
    virtual QWidget* Widget() = 0;
    // The editor is shown: the page fills itself from the table and takes
    // the remembered cursor.
    virtual void SetUp() {}
    // OK or Apply, once the notes applied: the page's texts into the table.
    // Whether the table changed.
    virtual bool Apply() { return false; }
    // Whether the page holds something: its tab is highlighted then.
    virtual bool HasContent() const { return false; }
    // The document was replaced (a project read, undo, redo): the page
    // fills itself again, so that a stale page never overwrites the table.
    virtual void DocumentReplaced() {}
    // The editor closes: the page keeps its cursor and column widths.
    virtual void StoreOnClose() {}
    // Called by the page when what HasContent answers may have changed.
    std::function<void()> ContentChanged;
};

// Makes the page for an editor, parented to parent.
using TTablePageMaker = std::function<std::unique_ptr<TTablePage>(QWidget* parent)>;
// The table sheet's maker, installed at start-up; an empty maker brings
// back the empty page.
void SetTablePageMaker(TTablePageMaker maker);
std::unique_ptr<TTablePage> MakeTablePage(QWidget* parent);
