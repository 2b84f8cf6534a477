#pragma once

#include "model/LineCodec.h"

#include <QString>
#include <QStringList>
#include <optional>

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
// Whether ReadProject would take the text; the document is left as it is.
bool IsReadableProjectText(const TstringData& source, bool lastLineEnded);
// Resets the document and fills it from a copy of source. False, with the
// document as it was before, when the text ends before the view section is
// complete (what follows the view may be missing; it keeps its defaults).
bool ReadProject(const TstringData& source);
// The same, where lastLineEnded tells whether the text's last line was
// complete (a file cut inside its last line).
bool ReadProjectText(const TstringData& source, bool lastLineEnded);

// A project file read from disk and checked: its text reads as a project.
struct TCheckedProject {
    QString Path; // the file, with its extension as the disk spells it
    QStringList Lines;
    TFileKind Kind = TFileKind::Utf16LE;
    bool LastLineEnded = true;
};
// Finds the project by any of its names (with or without ".kvf" or ".kvp")
// and reads and checks it, changing nothing. A missing file, one that cannot
// be read, an empty one, one that is not text, one without a valid version
// header and one that ends before its view are refused with a message.
std::optional<TCheckedProject> ReadProjectFile(const QString& name);
// The checked project becomes the document, named after its file: a new
// caption, empty histories, its traces, the windows rebuilt. Unless the
// settings keep the stored graph size, the graph area is fitted to this
// screen.
bool OpenCheckedProject(const TCheckedProject& project);

// Reads <base>.kvf into ProjectData and the document. A refused file (see
// ReadProjectFile) says why and changes nothing.
bool LoadKvf();
// Writes the document to <base>.kvf in UTF-16 LE, atomically. A failed save
// keeps the old file whole and says so.
bool SaveKvf();

// Opens a project by any of its names (with or without ".kvf" or ".kvp"):
// ReadProjectFile, then OpenCheckedProject. A refused file changes nothing.
bool OpenProject(const QString& name);
// Brings the windows and the view up to date after a load or an undo step.
void RefreshAll();
// Forgets every view of the back and forward history.
void ClearViewHistory();

// The model steps of "Salvar": the project, then its traces. False when
// there is no file name yet (the caller asks for one and calls
// SaveProjectAs) or the save failed (the document stays modified).
bool SaveProject();
// The model steps of "Salvar Como" once a name was chosen: a name that does
// not end in ".kvf" gets it appended (never a replaced extension, which would
// name another file). When that makes another name of a file that exists,
// the user is asked first whether to replace it (the chooser asked only
// about the name chosen). False when not saved.
bool SaveProjectAs(const QString& chosenName);

// Says that the file at path could not be written.
void ShowSaveError(const QString& path);
// What ShowSaveError says.
QString SaveErrorText(const QString& path);

// The file name of a project without ".kvf" or ".kvp" at its end (any case).
QString ProjectBaseName(const QString& name);

// The project globals of the session back to their start-up values.
void ResetProjectGlobals();
