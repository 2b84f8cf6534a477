// What the markup insertion menu inserts: each tag pair around a selection
// with the caret where the user types next, and the document's formulas.
#include "StoreTestKit.h"

#include "session/MarkupInsertion.h"

namespace {

using namespace Qt::Literals::StringLiterals;

using MarkupInsertionTest = StoreTest;

TEST_F(MarkupInsertionTest, EveryTagAroundNothingAndAroundASelection)
{
    struct Case {
        int Tag;
        const char16_t* AroundNothing;
        int Caret; // counted from the start of the inserted text
        const char16_t* AroundX;
    };
    const Case cases[] = {
        {1, u"<Blue> </Blue>", 6, u"<Blue>x</Blue>"},
        {2, u"<RED> </RED>", 5, u"<RED>x</RED>"},
        {3, u"<Green> </Green>", 7, u"<Green>x</Green>"},
        {4, u"<Purple> </Purple>", 8, u"<Purple>x</Purple>"},
        {5, u"<Syan> </Syan>", 6, u"<Syan>x</Syan>"},
        {6, u"<Gray> </Gray>", 6, u"<Gray>x</Gray>"},
        {7, u"<Black> </Black>", 7, u"<Black>x</Black>"},
        {9, u"<color=#rrggbb> </color>", 8, u"<color=#rrggbb>x</color>"},
        {11, u"<L> </L>", 3, u"<L>x</L>"},
        {12, u"<S> </S>", 3, u"<S>x</S>"},
        {13, u"<sup> </sup>", 5, u"<sup>x</sup>"},
        {14, u"<sub> </sub>", 5, u"<sub>x</sub>"},
        {21, u"<B> </B>", 3, u"<B>x</B>"},
        {22, u"<I> </I>", 3, u"<I>x</I>"},
        {23, u"<U> </U>", 3, u"<U>x</U>"},
        {31, u"{ }", 1, u"{x}"},
        {32, u"!{ }", 2, u"!{x}"},
        {33, u"?{ }", 2, u"?{x}"},
        {41, u"v{ }", 2, u"v{x}"},
        {42, u"<symbol> </symbol>", 8, u"<symbol>x</symbol>"},
        {43, u"<frac> / </frac>", 8, u"<frac>x/ </frac>"},
        {99, u" <normal>", 9, u"x<normal>"},
    };
    for (const Case& c : cases) {
        const std::optional<TMarkupTag> tag = MarkupTagOf(c.Tag);
        ASSERT_TRUE(tag) << c.Tag;
        const TTagInsertion empty = InsertTagPair(QString(), *tag);
        EXPECT_EQ(empty.Text, QString::fromUtf16(c.AroundNothing)) << c.Tag;
        EXPECT_EQ(empty.Caret, c.Caret) << c.Tag;
        const TTagInsertion around = InsertTagPair(u"x"_s, *tag);
        EXPECT_EQ(around.Text, QString::fromUtf16(c.AroundX)) << c.Tag;
        EXPECT_EQ(around.Caret, around.Text.size()) << c.Tag << ": the caret stays after the selection";
    }
    for (int tag : {0, 8, 10, 15, 24, 34, 40, 44, 100})
        EXPECT_FALSE(MarkupTagOf(tag)) << tag;
}

TEST_F(MarkupInsertionTest, AFractionKeepsTheSlashItHas)
{
    const TMarkupTag fraction = *MarkupTagOf(43);
    EXPECT_EQ(InsertTagPair(u"1"_s, fraction).Text, u"<frac>1/ </frac>"_s);
    EXPECT_EQ(InsertTagPair(u"a/b"_s, fraction).Text, u"<frac>a/b</frac>"_s);
    EXPECT_EQ(InsertTagPair(u"a/b"_s, *MarkupTagOf(21)).Text, u"<B>a/b</B>"_s) << "only a fraction adds one";
}

TEST_F(MarkupInsertionTest, TheFormulasOfTheDocument)
{
    TDocumentTables& doc = DocumentTables;
    doc.Functions[2] = Equation(u"x^2"_s);
    doc.Relations[1] = Equation(u"x^2+y^2-1"_s, ModeRelation);
    doc.UserFunctions[1].Text = u"x+1"_s;
    PrepareExpression(doc.UserFunctions[1], ModeUserFunction);
    doc.Points[1] = PointAt(1, u"(1, 2)"_s);
    doc.Points[5] = PointAt(5, u"(cos(t), sin(t))"_s, ObjectParametric);
    doc.Points[5].Dimension = 2;
    doc.Points[6] = PointAt(6, u"(1, 2)"_s, ObjectHorizontalLine);
    struct Case {
        TEquationKind Kind;
        int N;
        bool Exists;
        QString Inserted;
        QString InCalculator;
    };
    const Case cases[] = {
        {TEquationKind::Function, 2, true, u"y2={x^2}"_s, u"x^2"_s},
        {TEquationKind::Function, 1, false, u"y1={}"_s, u""_s},
        {TEquationKind::Relation, 1, true, u"C1:{x^2+y^2-1}"_s, u"x^2+y^2-1"_s},
        {TEquationKind::UserFunction, 1, true, u"f ={x+1}"_s, u"x+1"_s},
        {TEquationKind::UserFunction, 8, false, u"f5 ={}"_s, u""_s},
        {TEquationKind::Object, 1, true, u"P{"_s + MakePntDefText(doc.Points[1]) + u'}', MakePntDefText(doc.Points[1])},
        {TEquationKind::Object, 5, true, u"T={"_s + MakePntDefText(doc.Points[5]) + u'}', MakePntDefText(doc.Points[5])},
        {TEquationKind::Object, 6, true, u"U:{"_s + MakePntDefText(doc.Points[6]) + u'}', MakePntDefText(doc.Points[6])},
        {TEquationKind::Object, 7, false, u"V{"_s + MakePntDefText(doc.Points[7]) + u'}', MakePntDefText(doc.Points[7])},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EquationExists(c.Kind, c.N), c.Exists) << c.Inserted.toStdString();
        EXPECT_EQ(InsertEquationText(c.Kind, c.N, false), c.Inserted);
        EXPECT_EQ(InsertEquationText(c.Kind, c.N, true), c.InCalculator);
    }
    EXPECT_EQ(EquationItemCaption(TEquationKind::Function, 20), u"y20"_s);
    EXPECT_EQ(EquationItemCaption(TEquationKind::Relation, 9), u"C9"_s);
    EXPECT_EQ(EquationItemCaption(TEquationKind::Object, 22), u"O"_s);
    EXPECT_EQ(EquationItemCaption(TEquationKind::UserFunction, 4), u"f1"_s);
}

} // namespace
