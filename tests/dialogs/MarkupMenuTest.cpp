// The edit fields' markup insertion menu as a user opens it: on the object
// dialog's label, on the figure dialog's label and in the calculator, its
// items shown and enabled for the field, its tags wrapped around the
// selection with the caret where the next keys go, and the document's
// formulas inserted.
#include "PropertyDialogTestKit.h"

#include "dialogs/CalcForm.h"
#include "dialogs/MarkupMenu.h"
#include "dialogs/PntProperty.h"
#include "dialogs/SegProperty.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "session/MarkupInsertion.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

namespace {

using namespace Qt::Literals::StringLiterals;

class MarkupMenuTest : public PropertyDialogTest {
protected:
    TMarkupMenu& Menu() { return *Graph().pmMemo; }
    QAction* Item(const char* name)
    {
        auto* item = Menu().findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(item, nullptr) << name;
        return item;
    }
    // The field's popup asked for with the right button, as a user does;
    // the menu opens for the field and is closed again.
    void OpenMenuOn(QWidget* clicked)
    {
        Q_EMIT clicked->customContextMenuRequested(QPoint(3, 3));
        ProcessEvents();
        EXPECT_TRUE(Menu().isVisible());
        Menu().hide();
    }
    // The field's text with «selected» selected, then the item chosen.
    void Choose(QLineEdit* edit, const QString& text, const QString& selected, const char* item)
    {
        edit->setText(text);
        const qsizetype at = text.indexOf(selected);
        if (selected.isEmpty())
            edit->setCursorPosition(int(text.size()));
        else
            edit->setSelection(int(at), int(selected.size()));
        Item(item)->trigger();
    }
    TPntProperty* OpenObjectDialog()
    {
        StoreDraggablePoint(1, u"(1, 2)"_s);
        ShowPntProperty(1, 3);
        ProcessEvents();
        return OpenDialog<TPntProperty>("PntProperty");
    }
};

TEST_F(MarkupMenuTest, TheObjectLabelWrapsItsSelection)
{
    TPntProperty* dialog = OpenObjectDialog();
    ASSERT_NE(dialog, nullptr);
    auto* label = Find<QComboBox>(*dialog, "Edit1");
    ASSERT_NE(label, nullptr);
    QLineEdit* edit = label->lineEdit();
    OpenMenuOn(edit);
    EXPECT_EQ(Menu().Control(), label);
    for (QMenu* markup : {Menu().Color1, Menu().Size1, Menu().Style1, Menu().Equation1})
        EXPECT_TRUE(markup->menuAction()->isVisible());
    EXPECT_TRUE(Menu().MarkupSeparator->isVisible());

    struct Case {
        const char* Item;
        QString Text;
        QString Selected;
        QString Result;
        int Caret;
    };
    const Case cases[] = {
        {"Bold1", u"ab"_s, u""_s, u"ab<B> </B>"_s, 5},
        {"Bold1", u"a x b"_s, u"x"_s, u"a <B>x</B> b"_s, 10},
        {"Frac1", u""_s, u""_s, u"<frac> / </frac>"_s, 8},
        {"Frac1", u"1"_s, u"1"_s, u"<frac>1/ </frac>"_s, 16},
        {"Frac1", u"a/b"_s, u"a/b"_s, u"<frac>a/b</frac>"_s, 16},
        {"AnyColor1", u""_s, u""_s, u"<color=#rrggbb> </color>"_s, 8},
        {"Blue1", u""_s, u""_s, u"<Blue> </Blue>"_s, 6},
        {"Value1", u""_s, u""_s, u"!{ }"_s, 2},
        {"Initialize1", u"x"_s, u"x"_s, u"x<normal>"_s, 9},
    };
    for (const Case& c : cases) {
        OpenMenuOn(edit);
        Choose(edit, c.Text, c.Selected, c.Item);
        EXPECT_EQ(edit->text(), c.Result) << c.Item;
        EXPECT_EQ(edit->cursorPosition(), c.Caret) << c.Item << " " << c.Result.toStdString();
    }

    // The field's own undo and the clipboard items.
    OpenMenuOn(edit);
    EXPECT_TRUE(Item("Undo1")->isEnabled());
    EXPECT_FALSE(Item("Copy1")->isEnabled());
    EXPECT_FALSE(Item("Paste1")->isEnabled());
    edit->selectAll();
    OpenMenuOn(edit);
    EXPECT_TRUE(Item("Cut1")->isEnabled());
    Item("Cut1")->trigger();
    EXPECT_EQ(clipboard.text(), u"x<normal>"_s);
    EXPECT_TRUE(edit->text().isEmpty());
    OpenMenuOn(edit);
    EXPECT_TRUE(Item("Paste1")->isEnabled());
    Item("Paste1")->trigger();
    EXPECT_EQ(edit->text(), u"x<normal>"_s);
}

// An insert submenu offers what exists; none, and it is disabled.
TEST_F(MarkupMenuTest, TheFormulaItemsFollowTheDocument)
{
    TPntProperty* dialog = OpenObjectDialog();
    ASSERT_NE(dialog, nullptr);
    QLineEdit* edit = Find<QComboBox>(*dialog, "Edit1")->lineEdit();
    OpenMenuOn(edit);
    EXPECT_FALSE(Menu().function1->menuAction()->isEnabled());
    EXPECT_FALSE(Menu().relation1->menuAction()->isEnabled());
    EXPECT_FALSE(Menu().User1->menuAction()->isEnabled());
    EXPECT_TRUE(Menu().curve1->menuAction()->isEnabled()) << "point P exists";

    SetFunctionFormula(2, u"x^2"_s);
    OpenMenuOn(edit);
    EXPECT_TRUE(Menu().function1->menuAction()->isEnabled());
    QStringList shown;
    for (QAction* item : Menu().function1->actions())
        if (item->isVisible())
            shown.append(item->text());
    EXPECT_EQ(shown, QStringList{u"y2"_s});
    edit->clear();
    Menu().function1->actions()[1]->trigger();
    EXPECT_EQ(edit->text(), u"y2={x^2}"_s);
}

// The calculator's input takes formulas only: no markup submenus, and a
// formula goes in alone.
TEST_F(MarkupMenuTest, TheCalculatorTakesFormulasOnly)
{
    SetFunctionFormula(1, u"sin(x)"_s);
    auto* input = Find<QLineEdit>(*Forms.CalcForm, "EditCalc");
    ASSERT_NE(input, nullptr);
    OpenMenuOn(input);
    EXPECT_EQ(Menu().Control(), input);
    for (QMenu* markup : {Menu().Color1, Menu().Size1, Menu().Style1, Menu().Equation1})
        EXPECT_FALSE(markup->menuAction()->isVisible());
    EXPECT_FALSE(Menu().MarkupSeparator->isVisible());
    EXPECT_TRUE(Menu().Insert1->menuAction()->isVisible());
    EXPECT_TRUE(Item("Paste1")->isVisible());
    input->setText(u"2+"_s);
    Menu().function1->actions()[0]->trigger();
    EXPECT_EQ(input->text(), u"2+sin(x)"_s);

    // Another field shows them again.
    auto* note = new QLineEdit(&Graph());
    AttachMarkupMenu(note);
    OpenMenuOn(note);
    EXPECT_TRUE(Menu().Color1->menuAction()->isVisible());
    delete note;
}

TEST_F(MarkupMenuTest, TheFigureLabelHasTheMenu)
{
    StoreDraggablePoint(1, u"(1, 2)"_s);
    StoreDraggablePoint(2, u"(3, 2)"_s);
    QString inserted;
    bool menuForTheBox = false;
    modal.queueAnswer(QStringLiteral("SegProperty"), [&](QObject& object) {
        auto& dialog = dynamic_cast<TSegProperty&>(object);
        auto* label = Find<QComboBox>(dialog, "edit1");
        if (!label)
            return 0;
        OpenMenuOn(label->lineEdit());
        menuForTheBox = Menu().Control() == label;
        Choose(label->lineEdit(), u""_s, u""_s, "Italic1");
        inserted = label->currentText();
        return 0;
    });
    ShowSegProperty(Segments.Count() + 1);
    EXPECT_EQ(modal.pendingAnswers(), 0);
    EXPECT_TRUE(menuForTheBox);
    EXPECT_EQ(inserted, u"<I> </I>"_s);
}

} // namespace
