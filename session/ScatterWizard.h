#pragma once

// The scatter wizard without its window: what it proposes for the sheet's
// selection, and the point sequence it makes of two table columns.
#include "session/TableSheet.h"

#include <QChar>
#include <QString>
#include <vector>

// The wizard needs a free object among the first 21.
bool ScatterObjectsAllUsed();

// What the wizard shows first: the letters of the free objects among the
// first 21 in their order, and rows and columns from the selection (to row
// 200 for a selection one row high; the next column as y for a selection
// one column wide, the last column staying itself).
struct TScatterProposal {
    std::vector<QChar> Letters;
    int FirstRow = 1;
    int LastRow = TableRows;
    int XColumn = 1;
    int YColumn = 2;
};
TScatterProposal ProposeScatter(const TCellRange& selection);

// What the user chose.
struct TScatterChoice {
    QChar Letter;
    int XColumn = 1;
    int YColumn = 2;
    QString FirstRow; // numbers or formulas; rewritten as the numbers read
    QString LastRow;
    bool Points = true; // "Sequência de Pontos"
    bool Lines = true;  // "Retas"
};

// Object n as the point sequence (Cells(k, x column), Cells(k, y column))
// for k from the first row to the last (texts of numbers), its points and
// lines drawn in the default figure colours or not at all.
TPointFunction ScatterObject(int n, const TScatterChoice& choice);

// OK: rows that read as no number keep the wizard open (their texts as
// typed); the rows are rewritten as the numbers read; without points or
// lines it closes and makes nothing; else the object is stored.
struct TScatterOutcome {
    bool StayOpen = false;
    int Object = -1; // the object made, -1 none
};
TScatterOutcome ApplyScatterChoice(TScatterChoice& choice);
