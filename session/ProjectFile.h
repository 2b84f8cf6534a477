#pragma once

#include "model/LineCodec.h"

#include <QString>

// The project file: the whole document as one text, <base>.kvf, written in
// the current format and read in every format since 1.6. The same text is
// the undo snapshot.

// How the current project's text was encoded when it was read.
enum class TFileKind { Utf16LE, Utf8, Windows1252 };

// The current project's file.
struct TProjectFileState {
    QString FileName; // the path without its extension; empty: no file yet
    // The extension as the file on disk spells it (".kvf", or ".KVF" for a
    // file opened under that name).
    QString Extension = QStringLiteral(".kvf");
    TFileKind FileKind = TFileKind::Utf16LE;
    QString BGfile;           // the background picture, a full path

    void Reset() { *this = TProjectFileState{}; }
};
extern TProjectFileState ProjectFile;

// The format written, and the oldest one read.
inline const QString ProjectHeader = QStringLiteral("Kaviro/win 2.8");
inline const QString OldestProjectHeader = QStringLiteral("Kaviro/win 1.6");

// Object O is always a point at the origin.
void SetOriginObject();

// Clears target and writes the whole document into it.
void WriteProject(TstringData& target);
// Resets the document and fills it from a copy of source. False, with the
// document as it was before, when the text ends before the view section is
// complete (what follows the view may be missing; it keeps its defaults).
bool ReadProject(const TstringData& source);
// The same, where lastLineEnded tells whether the text's last line was
// complete (a file cut inside its last line).
bool ReadProjectText(const TstringData& source, bool lastLineEnded);

// Reads <base>.kvf into ProjectData and the document. A file that cannot be
// read, has no valid version header or ends before its view is refused with
// a message, and the document stays as it was. Unless the settings keep the
// stored graph size, the graph area is fitted to this screen.
bool LoadKvf();
// Writes the document to <base>.kvf in UTF-16 LE, atomically. A failed save
// keeps the old file whole and says so.
bool SaveKvf();

// Opens a project by any of its names (with or without ".kvf" or ".kvp").
bool OpenProject(const QString& name);
// Brings the windows and the view up to date after a load or an undo step.
void RefreshAll();
// Forgets every view of the back and forward history.
void ClearViewHistory();

// The model steps of "Salvar": the project, then its traces. False when
// there is no file name yet (the caller asks for one and calls
// SaveProjectAs) or the save failed (the document stays modified).
bool SaveProject();
// The model steps of "Salvar Como" once a name was chosen.
bool SaveProjectAs(const QString& chosenName);

// Says that the file at path could not be written.
void ShowSaveError(const QString& path);

// The file name of a project without ".kvf" or ".kvp" at its end (any case).
QString ProjectBaseName(const QString& name);

// The project globals of the session back to their start-up values.
void ResetProjectGlobals();
