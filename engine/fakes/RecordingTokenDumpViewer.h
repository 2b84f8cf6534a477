#pragma once

#include "engine/TokenDumpViewer.h"

#include <QStringList>

// Test fake: keeps every dump it was shown.
class RecordingTokenDumpViewer final : public TTokenDumpViewer {
public:
    QStringList Dumps;
    void ShowTokenDump(const QString& text) override { Dumps.append(text); }
};
