#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// Remove one character from the start or the end; an empty string stays empty.
void DeleteFirstChar(QString& s);
void DeleteLastChar(QString& s);

// Every occurrence of oldText replaced by newText (case-sensitive).
QString ReplaceAll(const QString& oldText, const QString& newText, const QString& s);
// The part of s before the first sep, found ignoring case; all of s when absent.
QString TextBefore(const QString& sep, const QString& s);
// The part after the first sep, found ignoring case, at most 10000
// characters; empty when absent.
QString TextAfter(const QString& sep, const QString& s);
// 1-based position of sub in s ignoring case; 0 when absent.
int PosIgnoreCase(const QString& sub, const QString& s);
// Splits at the first list separator of the document; left loses its blanks.
void SplitAtListSeparator(const QString& s, QString& left, QString& right);
// Trimmed field before the first tab, and the rest after it.
void SplitAtTab(const QString& s, QString& field, QString& rest);
int CountChar(QChar c, const QString& s);
// True when s holds at least one of the characters of chars.
bool ContainsAnyChar(const QString& s, QStringView chars);
// Every ideographic space (U+3000) becomes a blank.
QString FullWidthSpaceToSpace(const QString& s);
// Every ',' becomes the document's list separator.
QString CommaToListSeparator(const QString& s);
QString RemoveSpaces(const QString& s);
// The last character as a string; empty for an empty string.
QString LastCharStr(const QString& s);
bool StartsWithHash(const QString& s);

// An existing path as a clean absolute path; any other path as given, less
// its "/./" steps and a trailing '/'.
QString ExpandLongPath(const QString& path);
// The name without its extension; dots in folder names do not count.
QString RemoveFileExt(const QString& name);
