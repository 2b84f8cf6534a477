#pragma once

// The trace file <base>.kvp beside the project: the records of the trace
// store, oldest first, in a little-endian binary layout. It is written after
// the project on every save and read after it on every open; undo leaves it.
#include <QByteArray>
#include <QString>

inline const QString TraceFileExtension = QStringLiteral(".kvp");
inline const QString TraceFileErrorMessage = QStringLiteral("Arquivo de Traço está com erro");

// Records the present state, then writes every record to <base>.kvp, or
// removes an old <base>.kvp when there are none. False, with a message,
// when the file cannot be written (an old one stays whole).
bool SaveKvp(const QString& base);
// Empties the trace store and fills it from <base>.kvp; the view's object
// states, those of the project before, are dropped. A missing or empty
// file, or one of another version, leaves the store empty without a word; a
// damaged record stops the reading with a message, and the records read
// before it stay.
void LoadKvp(const QString& base);

// The file's bytes for the store's records (the store has some), and the
// store filled again from such bytes: at a damaged record the reading stops
// and the records before it stay.
QByteArray EncodeTraceFile();
enum class TTraceFileRead { NotATraceFile, Read, Damaged };
TTraceFileRead DecodeTraceFile(const QByteArray& bytes);
