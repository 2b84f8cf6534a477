#include "session/DocumentParticipants.h"

namespace {

using AllParticipants = platform::Participants<TDocumentParticipant, TDocumentOrder>;

} // namespace

std::vector<TDocumentError> ReplaceDocumentInParticipants(const QStringList& noteLines)
{
    std::vector<TDocumentError> errors;
    AllParticipants::forEach([&](TDocumentParticipant& p) {
        if (std::optional<TDocumentError> error = p.DocumentReplaced(noteLines))
            errors.push_back(std::move(*error));
    });
    return errors;
}

void ClearDocumentInParticipants()
{
    AllParticipants::forEach([](TDocumentParticipant& p) { p.DocumentCleared(); });
}
