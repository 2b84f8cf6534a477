#pragma once

// The differential corpus of formulas and the comparison of values to the
// bit, shared by the tests that hold two evaluators to each other.

#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "model/Value.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cmath>
#include <sstream>
#include <string>

// The formulas of tests/engine/data/array_corpus.txt, one per line; blank
// lines and lines starting with # are skipped.
inline QStringList Corpus()
{
    QFile file(QStringLiteral(KAVIRO_TEST_DATA "/array_corpus.txt"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList formulas;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty() && !line.startsWith(u'#'))
            formulas += line;
    }
    return formulas;
}

// The user functions the corpus calls: f and g of their own arguments, h
// also of the parameters k and a.
inline void DefineCorpusUserFunctions()
{
    const char* texts[] = {"x^2+y", "sin(x)+y·z", "k·x^2+a"};
    for (int slot = 1; slot <= 3; ++slot) {
        TKavirofunction& f = DocumentTables.UserFunctions[slot];
        f = BlankFunction;
        f.Text = QString::fromUtf8(texts[slot - 1]);
        PrepareExpression(f, ModeUserFunction);
    }
}

// Equal in kind, definedness and both parts, the sign of zero included.
inline bool SameValue(const TValue& a, const TValue& b)
{
    return a.Kind == b.Kind && a.Defined == b.Defined && a.X == b.X && a.Y == b.Y
           && std::signbit(a.X) == std::signbit(b.X) && std::signbit(a.Y) == std::signbit(b.Y);
}

inline std::string Describe(const TValue& v)
{
    std::ostringstream s;
    s.precision(21);
    s << v.X << "," << v.Y << " def " << int(v.Defined) << " kind " << int(v.Kind);
    return s.str();
}
