#pragma once

// The features that keep a store of their own beside the document's tables
// (scripts compiled from the note text, stickers split from it and placed)
// each register a participant at start-up, in the order of TDocumentOrder.
// The project reader and "New" call every participant in that order.
#include "model/MessageBox.h"
#include "platform/Participants.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// What a participant could not take from a document read; the caller shows
// it.
struct TDocumentError {
    QString Message;
    int Kind = MsgError;
    friend bool operator==(const TDocumentError&, const TDocumentError&) = default;
};

class TDocumentParticipant {
public:
    virtual ~TDocumentParticipant() = default;
    // The document was replaced by one read from a file or an undo snapshot;
    // noteLines is its note text. A participant that fails keeps what it
    // could read (it never empties its store for that) and says why.
    virtual std::optional<TDocumentError> DocumentReplaced(const QStringList& noteLines)
    {
        (void)noteLines;
        return std::nullopt;
    }
    // A new, empty document.
    virtual void DocumentCleared() {}
};

// Where each feature takes its turn: the scripts compile before the notes
// render the values the scripts may show; the open note editor shows the
// notes as they were split; the open tool window shows the document last.
enum class TDocumentOrder {
    Scripts,
    Notes,
    NoteEditor,
    ToolWindows,
};

using TDocumentParticipation = platform::ScopedParticipation<TDocumentParticipant, TDocumentOrder>;

// Every participant takes the document read; the errors they report, in
// their order.
std::vector<TDocumentError> ReplaceDocumentInParticipants(const QStringList& noteLines);
// Every participant clears its store for a new document.
void ClearDocumentInParticipants();
