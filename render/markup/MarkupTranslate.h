#pragma once

#include "model/Formula.h"

#include <QString>
#include <QStringList>

// Control characters of translated label markup, as DrawMarkupText reads
// them. Every other character is text.
namespace MarkupControl {
constexpr char16_t Normal = 0x09;      // plain style, base colour, size and base line
constexpr char16_t BoldOn = 0x0A;
constexpr char16_t BoldOff = 0x0B;
constexpr char16_t ItalicOn = 0x0C;
constexpr char16_t ItalicOff = 0x0D;
constexpr char16_t UnderlineOn = 0x0E;
constexpr char16_t UnderlineOff = 0x0F;
constexpr char16_t BaseColor = 0x10;
constexpr char16_t Color = 0x11;       // followed by six hex digits rrggbb
constexpr char16_t Large = 0x12;
constexpr char16_t Small = 0x13;
constexpr char16_t BaseSize = 0x14;    // also ends a subscript or superscript
constexpr char16_t VectorOn = 0x15;
constexpr char16_t VectorOff = 0x16;
constexpr char16_t Subscript = 0x17;
constexpr char16_t Superscript = 0x18;
constexpr char16_t SymbolOn = 0x19;
constexpr char16_t SymbolOff = 0x1A;
constexpr char16_t Fraction = 0x1F;    // numerator "|" or "/" denominator "}"
} // namespace MarkupControl

// Expands the inline fields of a label text and turns its tags into control
// characters, in this order: value and coefficient fields "!{…}" (with
// "+!{" and "-!{"), polynomial fields "?{…}", "~f{", the tags in angle
// brackets (any letter case), "<Color=#rrggbb>", and "v{…}". Field
// expressions are compiled in the given mode (that of the label's owner) and
// evaluated with the current parameters. Unknown tags stay as text.
QString TranslateMarkup(int compileMode, const QString& text);

// The fields alone. A field without its closing "}" runs to the end of the
// text. The digits of a field are the whole number after its last "|" (5
// when there is none, or it is no number or negative); a coefficient field's
// sign is written outside its formula group, and a lone 1 before a name or
// bracket as the sign alone.
QString ExpandValueFields(int compileMode, const QString& text);
QString ExpandPolynomialFields(int compileMode, const QString& text);

// The formulas of the value and polynomial fields of a text, in order: each
// field's text up to its closing "}" (the end of the text without one),
// without its digits.
QStringList FieldFormulas(const QString& text);
// A field's formula compiled quietly in the owner's mode, as the fields are
// evaluated; false when it does not compile.
bool CompileFieldFormula(int compileMode, const QString& expression, TKavirofunction& record);
