#pragma once

#include "engine/TokenEdit.h"
#include "engine/TokenTable.h"
#include "engine/Tokenizer.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"
#include "render/markup/TypesetDisplay.h"
#include "tests/engine/EngineTest.h"

#include <QString>
#include <gtest/gtest.h>

// Markup and typesetting tests start from the point-decimal vocabulary, an
// empty document and the exact fake text metrics.
class MarkupTest : public EngineDocumentTest {
protected:
    FakeTextMetrics fakeMetrics;
    ScopedTextMetrics useFake{fakeMetrics};

    static TTokenString Scan(const QString& formula)
    {
        QString text = formula;
        QString normalised;
        int caret = 0;
        TTokenString tokens;
        NormalizeExpressionText(text, normalised, caret, tokens);
        return tokens;
    }

    // A display string written out: structure codes as their letters,
    // vocabulary codes as their names, separated by blanks.
    static QString Readable(QStringView display)
    {
        static const char16_t* const Letters = u"βγδεζηθικλ";
        QStringList parts;
        for (qsizetype i = 0; i < display.size(); ++i) {
            const TTokenCode t = display[i].unicode();
            if (IsDisplayCode(t))
                parts << QString(QChar(Letters[t - DisplayCode::First]));
            else if (t == TokenCodes.Error) {
                parts << QStringLiteral("error") << display.mid(i + 1).toString();
                break;
            } else if (t == TokenCodes.Blank)
                parts << QStringLiteral("_");
            else
                parts << Vocabulary.TokenTable[t].Name;
        }
        return parts.join(u' ');
    }

    static QString Display(const QString& formula) { return Readable(ExpressionToMarkup(Scan(formula))); }

    // A recording canvas of the given size.
    struct Recording {
        TMetafile Picture;
        TCanvas Canvas;
        Recording(int width, int height)
            : Canvas(MakeMetafileCanvas(Picture))
        {
            Picture.Width = width;
            Picture.Height = height;
        }
        QString Dump() const { return DumpMetafile(Picture); }
    };
};
