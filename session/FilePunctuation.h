#pragma once

#include <QChar>
#include <QString>

// Number punctuation of the project text. The text always holds '.' and ','
// whatever the locale (files saved in one locale are the same bytes as in
// any other); in memory, formulas use the document's separators. Only what
// the formula language reads is converted: numbers, formulas, script lines
// and the braced fields and formula groups of labels and notes. Any other
// text ("Olá, mundo") is kept as typed.

struct TPunctuation {
    QChar Decimal = u'.';
    QChar ListSep = u',';
    bool operator==(const TPunctuation&) const = default;
};

// '.' and ','.
constexpr TPunctuation FilePunctuation{};
// The document's separators; those of the file while the decimal character is '.'.
TPunctuation DocumentPunctuation();
// What a project text was written with: the file's punctuation, unless its
// second line ("[Don't Edit] 3,14") shows a text kept in a comma locale's.
TPunctuation PunctuationOfText(const QString& secondLine);

// A formula or script line: every list separator and decimal character
// converted (a '.' counts as a decimal point only before a digit).
QString ConvertFormulaText(const QString& text, TPunctuation from, TPunctuation to);
// Label markup and note lines: only inside braces; a note line that begins
// with '#' is a script line and converted whole.
QString ConvertMarkupText(const QString& text, TPunctuation from, TPunctuation to);
QString ConvertNoteLine(const QString& line, TPunctuation from, TPunctuation to);
// A table cell: converted only when it reads as a number.
QString ConvertCellText(const QString& text, TPunctuation from, TPunctuation to);
