#pragma once

// The edit fields' popup menu that inserts label markup ("pmMemo"): undo,
// cut, copy and paste of the field, the formulas of the document's
// functions, relations, objects and user functions, and the tags and value
// fields of the label markup around the field's selection. One menu, the
// graph window's, serves every field that has it: the labels of the object
// and figure dialogs, the note editor's sticker sheet and the calculator's
// input line (which offers no markup, only formulas).
#include "platform/ServiceSlot.h"
#include "session/MarkupInsertion.h"

#include <QMenu>
#include <QPointer>

class QAction;

class TMarkupMenu final : public QMenu {
public:
    explicit TMarkupMenu(QWidget* parent = nullptr);

    // Prepares the menu for the control (pmMemoPopup) and opens it there.
    void PopupFor(QWidget* control, QPoint globalPos);
    // The items enabled and shown for the control: a line edit, a
    // multi-line edit or an editable combo box.
    void PrepareFor(QWidget* control);
    // The control the menu acts on.
    QWidget* Control() const { return control_; }

    // Every markup item (Blue1Click): the item of the tag around the
    // control's selection (MarkupTagOf).
    void MarkupItemClick(int tag);
    // A formula item: item n of a kind's submenu replaces the selection.
    void EquationItemClick(TEquationKind kind, int n);

    QAction* Undo1;
    QAction* Cut1;
    QAction* Copy1;
    QAction* Paste1;
    QMenu* Insert1;
    QMenu* function1;
    QMenu* relation1;
    QMenu* curve1;
    QMenu* User1;
    QAction* MarkupSeparator; // before the markup submenus
    QMenu* Color1;
    QMenu* Size1;
    QMenu* Style1;
    QMenu* Equation1;

private:
    void BuildEquationMenus();
    void BuildMarkupMenus();
    QMenu* EquationSubmenu(TEquationKind kind);
    void ShowEquationItems(QMenu* submenu, TEquationKind kind);
    bool IsCalculatorInput() const;

    QPointer<QWidget> control_;
};

// The menu every field attaches to; none until the graph window installs
// its own.
TMarkupMenu* InstalledMarkupMenu();
using ScopedMarkupMenu = platform::ScopedService<TMarkupMenu>;

// The control's popup menu becomes the installed markup menu (the control's
// own menu while none is installed).
void AttachMarkupMenu(QWidget* control);

// Object name of the calculator's input line, which the menu serves without
// its markup.
inline const QString CalculatorInputName = QStringLiteral("EditCalc");
