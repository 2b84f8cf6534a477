#pragma once

#include "session/ProjectFile.h"

#include <QByteArray>
#include <QStringList>

// The bytes of a project file and its lines.

struct TDecodedText {
    QStringList Lines;
    TFileKind Kind = TFileKind::Utf16LE;
    bool LastLineEnded = true; // the last line has its line end (a cut file's may not)
};

// UTF-16 LE (a byte-order mark skipped) when its first line begins with the
// format's name; otherwise the bytes as UTF-8 when they are valid UTF-8, else
// as Windows-1252. Lines end at CR LF, LF or CR.
TDecodedText DecodeProjectBytes(const QByteArray& bytes);

// UTF-16 LE with the byte-order mark FF FE, CR LF after every line.
QByteArray EncodeProjectLines(const QStringList& lines);

// Text that holds a NUL is no project text.
bool IsPlainText(const QStringList& lines);
// Bytes that can be text at all: not empty, and either UTF-16 with its
// byte-order mark or free of NUL bytes (a picture or another binary file
// is neither).
bool IsTextBytes(const QByteArray& bytes);
