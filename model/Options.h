#pragma once

#include <QChar>
#include <cstdint>

// Option bytes of the document: reset for every new document and saved with it.
struct TDocumentOptions {
    std::uint8_t ComplexMode = 0; // pairs are complex numbers
    void Reset() { *this = TDocumentOptions{}; }
};
extern TDocumentOptions Options;

// Number punctuation of the user's locale, read at start-up. Formulas are
// typed and shown with these; files always store '.' and ','.
struct TNumberSeparators {
    QChar DecimalChar = u'.';
    QChar ListSepChar = u',';
    void Reset() { *this = TNumberSeparators{}; }
    // Reads both characters from the platform's locale.
    void LoadFromLocale();
};
extern TNumberSeparators Separators;
