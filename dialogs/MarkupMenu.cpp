#include "dialogs/MarkupMenu.h"

#include "dialogs/EditCommands.h"
#include "platform/Clipboard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <span>

namespace {

QAction* NamedItem(QMenu* menu, const char* name, const QString& caption)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

QMenu* NamedSubmenu(QMenu* menu, const char* name, const QString& caption)
{
    auto* submenu = new QMenu(caption, menu);
    submenu->setObjectName(QString::fromLatin1(name));
    submenu->menuAction()->setObjectName(QString::fromLatin1(name));
    menu->addMenu(submenu);
    return submenu;
}

// The markup items of a submenu: caption, object name and tag.
struct TMarkupItem {
    const char* Name;
    const char16_t* Caption;
    int Tag;
};

constexpr TMarkupItem ColorItems[] = {
    {"Blue1", u"Azul", 1},     {"red1", u"Vermelho", 2}, {"Green1", u"Verde", 3},
    {"Purple1", u"Púrpura", 4}, {"Syan1", u"Cian", 5},    {"Grep1", u"Cinza", 6},
    {"Black1", u"Preto", 7},   {"AnyColor1", u"qualquer côr", 9},
};
constexpr TMarkupItem SizeItems[] = {
    {"Large1", u"Largo", 11},
    {"Small1", u"Pequeno", 12},
    {"Upper1", u"Sobrescrito", 13},
    {"Subfix1", u"Subscrito", 14},
};
constexpr TMarkupItem StyleItems[] = {
    {"Bold1", u"Grosso", 21},        {"Italic1", u"Itálico", 22},     {"UnderLine1", u"Sublinhado", 23},
    {"Vector1", u"Vetor", 41},       {"SymbolFont1", u"Fonte Símbolo", 42}, {"Frac1", u"Fração", 43},
    {"Initialize1", u"Iniciar", 99},
};
constexpr TMarkupItem EquationItems[] = {
    {"Equation2", u"Expressão", 31},
    {"Value1", u"valor", 32},
    {"Polynomial1", u"Polinomial", 33},
};

} // namespace

TMarkupMenu::TMarkupMenu(QWidget* parent)
    : QMenu(parent)
{
    setObjectName(QStringLiteral("pmMemo"));
    Undo1 = NamedItem(this, "Undo1", QStringLiteral("&Desfazer"));
    addSeparator();
    Cut1 = NamedItem(this, "Cut1", QStringLiteral("&Cortar"));
    Copy1 = NamedItem(this, "Copy1", QStringLiteral("C&opiar"));
    Paste1 = NamedItem(this, "Paste1", QStringLiteral("Co&lar"));
    addSeparator();
    BuildEquationMenus();
    MarkupSeparator = addSeparator();
    BuildMarkupMenus();
    connect(Undo1, &QAction::triggered, this, [this] { UndoEdit(control_); });
    connect(Cut1, &QAction::triggered, this, [this] { CutSelection(control_); });
    connect(Copy1, &QAction::triggered, this, [this] { CopySelection(control_); });
    connect(Paste1, &QAction::triggered, this, [this] { PasteClipboard(control_); });
}

void TMarkupMenu::BuildEquationMenus()
{
    Insert1 = NamedSubmenu(this, "Insert1", QStringLiteral("Inserir Equação"));
    function1 = NamedSubmenu(Insert1, "function1", QStringLiteral("Função"));
    relation1 = NamedSubmenu(Insert1, "relation1", QStringLiteral("Relação"));
    curve1 = NamedSubmenu(Insert1, "curve1", QStringLiteral("Curv/Objeto"));
    User1 = NamedSubmenu(Insert1, "User1", QStringLiteral("Função usr"));
    for (const auto& [submenu, kind] : {std::pair{function1, TEquationKind::Function},
                                        {relation1, TEquationKind::Relation},
                                        {curve1, TEquationKind::Object},
                                        {User1, TEquationKind::UserFunction}}) {
        for (int n = 1; n <= EquationCount(kind); ++n) {
            QAction* item = submenu->addAction(EquationItemCaption(kind, n));
            item->setData(n);
            connect(item, &QAction::triggered, this, [this, kind, n] { EquationItemClick(kind, n); });
        }
    }
}

void TMarkupMenu::BuildMarkupMenus()
{
    const auto build = [this](QMenu* submenu, std::span<const TMarkupItem> items) {
        for (const TMarkupItem& m : items) {
            QAction* item = NamedItem(submenu, m.Name, QString::fromUtf16(m.Caption));
            item->setData(m.Tag);
            const int tag = m.Tag;
            connect(item, &QAction::triggered, this, [this, tag] { MarkupItemClick(tag); });
        }
    };
    Color1 = NamedSubmenu(this, "Color1", QStringLiteral("Côr"));
    build(Color1, ColorItems);
    Size1 = NamedSubmenu(this, "Size1", QStringLiteral("Tamanho"));
    build(Size1, SizeItems);
    Style1 = NamedSubmenu(this, "Style1", QStringLiteral("Estilo"));
    build(Style1, StyleItems);
    Equation1 = NamedSubmenu(this, "Equation1", QStringLiteral("Expressão"));
    build(Equation1, EquationItems);
}

void TMarkupMenu::PopupFor(QWidget* control, QPoint globalPos)
{
    PrepareFor(control);
    popup(globalPos);
}

bool TMarkupMenu::IsCalculatorInput() const
{
    return control_ && control_->objectName() == CalculatorInputName;
}

void TMarkupMenu::ShowEquationItems(QMenu* submenu, TEquationKind kind)
{
    bool any = false;
    for (QAction* item : submenu->actions()) {
        const bool exists = EquationExists(kind, item->data().toInt());
        item->setVisible(exists);
        any = any || exists;
    }
    submenu->menuAction()->setEnabled(any);
}

void TMarkupMenu::PrepareFor(QWidget* control)
{
    control_ = control;
    const bool selection = !SelectedText(control).isEmpty();
    Undo1->setEnabled(CanUndo(control));
    Copy1->setEnabled(selection);
    Cut1->setEnabled(selection);
    Paste1->setEnabled(!platform::CurrentClipboard().text().isEmpty());
    ShowEquationItems(function1, TEquationKind::Function);
    ShowEquationItems(relation1, TEquationKind::Relation);
    ShowEquationItems(curve1, TEquationKind::Object);
    ShowEquationItems(User1, TEquationKind::UserFunction);
    const bool markup = !IsCalculatorInput();
    MarkupSeparator->setVisible(markup);
    for (QMenu* submenu : {Color1, Size1, Style1, Equation1})
        submenu->menuAction()->setVisible(markup);
}

void TMarkupMenu::MarkupItemClick(int tag)
{
    const std::optional<TMarkupTag> markup = MarkupTagOf(tag);
    if (!control_ || !markup)
        return;
    const TTagInsertion insertion = InsertTagPair(SelectedText(control_), *markup);
    ReplaceSelection(control_, insertion.Text, insertion.Caret);
}

void TMarkupMenu::EquationItemClick(TEquationKind kind, int n)
{
    if (!control_)
        return;
    const QString text = InsertEquationText(kind, n, IsCalculatorInput());
    ReplaceSelection(control_, text, static_cast<int>(text.size()));
}

TMarkupMenu* InstalledMarkupMenu()
{
    return platform::ServiceSlot<TMarkupMenu>::installed();
}

void AttachMarkupMenu(QWidget* control)
{
    // A combo box's line edit takes the mouse; the menu acts on the box.
    QWidget* clicked = control;
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
        clicked = combo->lineEdit();
    clicked->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(clicked, &QWidget::customContextMenuRequested, control, [control, clicked](QPoint pos) {
        QWidget* shownOn = clicked;
        if (auto* memo = qobject_cast<QPlainTextEdit*>(clicked))
            shownOn = memo->viewport();
        const QPoint at = shownOn->mapToGlobal(pos);
        if (TMarkupMenu* menu = InstalledMarkupMenu()) {
            menu->PopupFor(control, at);
            return;
        }
        QMenu* own = nullptr;
        if (auto* edit = qobject_cast<QLineEdit*>(clicked))
            own = edit->createStandardContextMenu();
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(clicked))
            own = memo->createStandardContextMenu();
        if (!own)
            return;
        own->setAttribute(Qt::WA_DeleteOnClose);
        own->popup(at);
    });
}
