#include "model/Options.h"

#include "platform/LocaleSeparators.h"

TDocumentOptions Options;
TNumberSeparators Separators;

void TNumberSeparators::LoadFromLocale()
{
    DecimalChar = platform::GetDecimalSeparator();
    ListSepChar = platform::GetListSeparator();
}
