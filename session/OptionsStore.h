#pragma once

#include <QString>

// The user's own defaults: the options of the view, the functions and the
// graph, and the styles of new objects, kept in the settings store so that
// every later start and every new document begins with them.

// Keys of the options; the state, marker, font and start-view keys are in
// model/Settings.h.
inline const QString RegKeyArea = QStringLiteral("SOFTWARE/KAVIRO/Option/Area");
inline const QString RegKeyScale = QStringLiteral("SOFTWARE/KAVIRO/Option/Scale");
inline const QString RegKeyFunction = QStringLiteral("SOFTWARE/KAVIRO/Option/Function");
inline const QString RegKeyGraph = QStringLiteral("SOFTWARE/KAVIRO/Option/Graph");
inline const QString RegKeyDefaultGraph = QStringLiteral("SOFTWARE/KAVIRO/Default/Graph");
inline const QString RegKeyDefaultSegment = QStringLiteral("SOFTWARE/KAVIRO/Default/Segment");
inline const QString RegKeyDefaultFigure = QStringLiteral("SOFTWARE/KAVIRO/Default/Figure");

// Writes every option from the current state ("Estabelecer Padrão"). The
// ranges and tick bases are stored as doubles.
void SaveOptions();

// Reads the stored options over the current ones (at start and for a new
// document). A value that is missing, unreadable or one the program never
// writes keeps the current value, except that the area flags fall back to
// not fixed and rectified. The x axis's pixel length and range, the y
// axis's range and the marker are not read; the y division count is scaled
// from the stored y pixel length to the current one. When the x axis letter
// or the theta mode changes, the document's formulas are compiled again.
void LoadOptions();

// Removes everything the program stores, the window state, fonts and marker
// too ("Iniciar Padrão"); the current options stay until the next start or
// new document.
void DeleteOptions();

// Compiles every formula of the document again, each in its own mode (the
// value table's rows and x and the integral's limits too), after a change of
// a setting that compiling reads (the x axis letter, the theta mode), and
// marks the theta parameter changed.
void RecompileDocumentFormulas();
