#pragma once

// What the session asks of the data panel's row widgets: to show the models
// of RowModels again. Until the data panel installs itself, nothing happens.
#include "platform/ServiceSlot.h"
#include "session/RowModels.h"

class TRowHost {
public:
    virtual ~TRowHost() = default;
    // Every row of one list and its panel's height and add button.
    virtual void ShowRows(TRowKind kind) = 0;
    // One row of a list (its picture or colour changed).
    virtual void ShowRow(TRowKind kind, int slot) = 0;
    // The figure rows and their panel.
    virtual void ShowFigureRows() = 0;
    // The parameter rows, their panel and its speed controls.
    virtual void ShowParamRows() = 0;
    // The value edit of parameter row j (text and colour).
    virtual void ShowParamValue(int j) = 0;
    // One button per stored script, named and shown as the store says.
    virtual void ShowScriptButtons() = 0;
};

TRowHost& CurrentRowHost();
using ScopedRowHost = platform::ScopedService<TRowHost>;
