#include "engine/Brackets.h"

#include "engine/TokenTable.h"

#include <algorithm>

int BracketDelta(TTokenCode token)
{
    if (token == TokenCodes.OpenParen)
        return 1;
    if (token == TokenCodes.CloseParen)
        return -1;
    return 0;
}

int FindCloseParen(QStringView tokens, int i)
{
    const int len = static_cast<int>(tokens.size());
    if (i > len - 2)
        return NoCloseParen;
    int depth = 1;
    for (int j = i + 1; j <= len; ++j) {
        depth += BracketDelta(TokenAt(tokens, j));
        if (depth == 0)
            return j;
    }
    return NoCloseParen;
}

int FindOpenParen(QStringView tokens, int i)
{
    if (i < 2)
        return NoOpenParen;
    int depth = -1;
    for (int j = std::min<int>(i - 1, static_cast<int>(tokens.size())); j >= 1; --j) {
        depth += BracketDelta(TokenAt(tokens, j));
        if (depth == 0)
            return j;
    }
    return NoOpenParen;
}

int CountArgs(QStringView tokens, int i, bool backwards)
{
    const int len = static_cast<int>(tokens.size());
    const int step = backwards ? -1 : 1;
    // Walking backwards a ")" opens the group, so the depth counts the other way.
    const int sign = backwards ? -1 : 1;
    int depth = 0;
    int commas = 0;
    for (int j = i; j >= 1 && j <= len; j += step) {
        const TTokenCode t = TokenAt(tokens, j);
        depth += sign * BracketDelta(t);
        if (depth == 0)
            break;
        if (depth == 1 && t == TokenCodes.Comma)
            ++commas;
    }
    return commas + 1;
}

namespace {

// Smallest bracket depth at which a group follows another directly, as in
// «(a)(b)»; 100 when no group does.
int SmallestDepthOfAdjacentGroups(QStringView tokens)
{
    int depth = 0;
    int smallest = 100;
    for (int j = 1; j <= tokens.size(); ++j) {
        const TTokenCode t = TokenAt(tokens, j);
        if (t == TokenCodes.OpenParen && TokenAt(tokens, j - 1) == TokenCodes.CloseParen)
            smallest = std::min(smallest, depth);
        depth += BracketDelta(t);
    }
    return smallest;
}

} // namespace

bool StripOuterParens(TTokenString& tokens)
{
    int levels = SmallestDepthOfAdjacentGroups(tokens);
    bool changed = false;
    while (tokens.size() > 3 && levels > 0 && TokenAt(tokens, 1) == TokenCodes.OpenParen
           && FindCloseParen(tokens, 1) == tokens.size()) {
        tokens.chop(1);
        tokens.remove(0, 1);
        --levels;
        changed = true;
    }
    return changed;
}

bool InsideOpenBinder(TTokenCode token, QStringView tokens)
{
    const int pos = static_cast<int>(tokens.lastIndexOf(QChar(token))) + 1;
    if (pos == 0)
        return false;
    return FindCloseParen(tokens, pos + 1) > tokens.size();
}
