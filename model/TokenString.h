#pragma once

#include <QString>
#include <initializer_list>

// One 16-bit code unit per token. A token string is a QString whose code
// units are token codes; the scanner's error token is followed by raw text
// in the same string, so text and tokens share one container.
using TTokenCode = char16_t;
using TTokenString = QString;

// A token string from a list of codes.
inline TTokenString MakeTokenString(std::initializer_list<TTokenCode> codes)
{
    TTokenString s;
    s.reserve(static_cast<qsizetype>(codes.size()));
    for (TTokenCode c : codes)
        s += QChar(c);
    return s;
}
