#pragma once

#include <QString>

// Shows the token dump of a compiled formula (the calculator's view of it).
// The window that shows it installs itself through
// platform::ServiceSlot<TTokenDumpViewer>; until then dumps are only returned.
class TTokenDumpViewer {
public:
    virtual ~TTokenDumpViewer() = default;
    virtual void ShowTokenDump(const QString& text) = 0;
};
