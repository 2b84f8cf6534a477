#pragma once

#include "session/DocumentParticipants.h"

#include <QStringList>
#include <optional>
#include <vector>

// Test fake of a feature with a store of its own: keeps the note text of
// every document it was given, counts the new documents and answers the
// error the test set.
class CountingDocumentParticipant final : public TDocumentParticipant {
public:
    std::optional<TDocumentError> Error; // what DocumentReplaced answers
    std::vector<QStringList> Replacements;
    int Clears = 0;

    std::optional<TDocumentError> DocumentReplaced(const QStringList& noteLines) override
    {
        Replacements.push_back(noteLines);
        return Error;
    }
    void DocumentCleared() override { ++Clears; }
};
