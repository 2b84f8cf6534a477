#pragma once

// The Windows code page 1252 of older files and of the 16-bit metafiles'
// text: Latin-1 with 32 more characters at 0x80..0x9F.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

QString DecodeWindows1252(QByteArrayView bytes);
// One byte per UTF-16 unit: the minus sign becomes '-', and what the code
// page lacks '?'.
QByteArray EncodeWindows1252(QStringView text);
