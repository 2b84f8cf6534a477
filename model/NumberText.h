#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// Number texts are read and written here only, never through the C locale.

// Reads a number written with the given decimal character: blanks around it,
// an optional sign, digits, an optional exponent. Refuses "nan", "inf", hex
// and any other character. Numbers too small for extended precision read as 0;
// numbers too large are refused.
bool ParseExtended(QStringView text, QChar decimal, long double& value);

// The general format, the one number printer of the program: fixed-point
// while the number has at most `precision` digits before the point and is at
// least 1E-5 in size, else scientific ("1.5E-7", "1E20"); trailing zeros
// dropped. precision is clamped to 1..18; documents print with 15.
QString FormatGeneral(long double value, int precision, QChar decimal);

// The fewest significant digits that ParseExtended reads back to the same
// value (subnormal values too), laid out as the general format with 15
// digits lays them out: "0.1", "5", "-2.5E-7", "4E-4951". Zero of either
// sign is "0".
QString FormatShortest(long double value, QChar decimal);

// The fixed format: at least one digit before the point and exactly `digits`
// decimals (0..18), the value first rounded to `precision` significant digits
// (1..18). A number with more than `precision` digits before the point is
// written in the general format. A value that rounds to zero has no sign.
QString FormatFixed(long double value, int precision, int digits, QChar decimal);

// Text to extended with the document's decimal character; on failure
// errorFlag := 1 and the result is 0, else errorFlag := 0.
long double StrToExtendedChecked(const QString& text, int& errorFlag);

// Tells the user that a text reads as no number ("Tipo numérico inválido").
void ShowInvalidNumberMessage();

// Text to the nearest integer into n. When the text is no number, or a number
// outside the int range, n is unchanged, text is rewritten as n, the message
// "Tipo numérico inválido" is shown and the result is false.
bool StrToIntChecked(QString& text, int& n);
