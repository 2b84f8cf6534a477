#pragma once

// What the edit fields' markup insertion menu inserts, without its widget:
// the tag pairs of the label markup around a selection, and the formulas of
// the document's functions, relations, objects and user functions.
#include <QString>
#include <optional>

// A markup item: the texts put before and after the selection, and how far
// the caret steps back from the end when nothing was selected.
struct TMarkupTag {
    QString Open;
    QString Close;
    int CaretStep = 0;
    bool Fraction = false; // a selection without "/" gets one
    bool operator==(const TMarkupTag&) const = default;
};
// The item of a tag: 1..7 the colour words, 9 any colour, 11 and 12 large
// and small, 13 and 14 superscript and subscript, 21..23 bold, italic and
// underline, 31..33 formula, value and polynomial fields, 41 vector, 42 the
// Symbol font, 43 fraction, 99 back to normal. None for other tags.
std::optional<TMarkupTag> MarkupTagOf(int tag);

// The selection wrapped: the text that replaces it and where the caret
// goes, counted from the start of that text. An empty selection is one
// blank, and the caret stands the tag's step back from the end (after the
// opening text); otherwise it stays at the end.
struct TTagInsertion {
    QString Text;
    int Caret = 0;
    bool operator==(const TTagInsertion&) const = default;
};
TTagInsertion InsertTagPair(const QString& selected, const TMarkupTag& tag);

// The things whose formulas the menu inserts.
enum class TEquationKind { Function, Relation, Object, UserFunction };
inline constexpr int EquationCount(TEquationKind kind)
{
    switch (kind) {
    case TEquationKind::Function: return 20;
    case TEquationKind::Relation: return 9;
    case TEquationKind::Object: return 22;
    case TEquationKind::UserFunction: return 8;
    }
    return 0;
}
// The caption of item n of a kind's submenu ("y1", "C1", the object's
// letter, the user function's name).
QString EquationItemCaption(TEquationKind kind, int n);
// Whether item n's thing exists: a formula with code, an object of a kind.
bool EquationExists(TEquationKind kind, int n);
// What item n inserts: the formula alone in the calculator; elsewhere the
// name its data panel row shows, without surrounding blanks, and the
// formula in braces ("y1={x^2}", "P{x= 1, y= 2, r= }").
QString InsertEquationText(TEquationKind kind, int n, bool calculator);
