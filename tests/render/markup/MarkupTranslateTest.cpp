#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "render/markup/MarkupTranslate.h"
#include "tests/QtPrinters.h"
#include "tests/render/markup/MarkupTest.h"

namespace {

using MarkupTranslateTest = MarkupTest;

QString Translate(const char* text)
{
    return TranslateMarkup(ModePlain, QString::fromUtf8(text));
}

using Cases = std::initializer_list<std::pair<const char*, const char*>>;

void ExpectTranslations(Cases cases)
{
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Translate(in), QString::fromLatin1(out)) << in;
}

TEST_F(MarkupTranslateTest, TagsBecomeControlCharacters)
{
    ExpectTranslations({
        {"<b>x</B>", "\x0A" "x\x0B"},
        {"<RED>a</RED>b", "\x11" "FF0000a\x10" "b"},
        {"<green>a</Color>", "\x11" "00C000a\x10"},
        {"v{AB}c", "\x15" "AB\x16" "c"},
        {"v{AB", "\x15" "AB\x16"},
        {"<foo>", "<foo>"},
        {"<Color=#12ab3F>x", "\x11" "12ab3Fx"},
        {"<Color=#12ab3F x", "<Color=#12ab3F x"}, // no ">": left as text
        {"<Color=#F00>abc<Color=#0000FF>d", "<Color=#F00>abc\x11" "0000FFd"}, // not six hex digits: text
        {"<SUB>2</SUB><SUP>3</SUP><s>s</s><L>l</L>", "\x17" "2\x14\x18" "3\x14\x13" "s\x14\x12" "l\x14"},
        {"~f{1|2}", "\x1F" "1|2}"},
        {"<frac>1/2</frac><Symbol>p</Symbol><normal>", "\x1F" "1/2}\x19" "p\x1A\x09"},
        {"<i><u>t</u></i><V>AB</V>", "\x0C\x0E" "t\x0F\x0D\x15" "AB\x16"},
    });
}

TEST_F(MarkupTranslateTest, ValueFieldsShowTheirNumbers)
{
    DocumentTables.Params[1].Value = 2.0L; // a
    ExpectTranslations({
        {"!{1/3|3}", "{0.333}"},
        {"!{1/3}", "{0.33333}"},
        {"!{1/3|x}", "{0.33333}"},   // digits that are no number: 5
        {"!{1/3|-2}", "{0.33333}"},
        {"!{Sqrt(-1)}", " error "},  // undefined
        {"!{2+}", " error "},        // does not compile
        {"!{}", " error "},
        {"a=!{a} b", "a={2} b"},
        {"!{(1,2)}", "{(1,2)}"},
        {"!{1/3|3", "{0.333}"},      // no closing brace: the field ends with the text
        {"!{1.5/10^7}", "{1.5E-7}"}, // the general format; the formula group shows powers of ten
        {"!{123456|3}", "{1.23E5}"},
    });
}

TEST_F(MarkupTranslateTest, CoefficientFieldsReadNaturally)
{
    DocumentTables.Params[1].Value = 1.0L;  // a
    DocumentTables.Params[2].Value = -1.0L; // b
    DocumentTables.Params[3].Value = 2.5L;  // c
    ExpectTranslations({
        {"y=2x+!{a}x", "y=2x+x"},
        {"y=2x+!{b}x", "y=2x-x"},
        {"y=2x-!{b}x", "y=2x+x"},
        {"y=2x+!{a} ", "y=2x+{1} "},
        {"y=+!{c}(x)", "y=+{2.5}(x)"},
        {"y=-!{c}", "y=-{2.5}"},
        {"+!{Sqrt(-1)}x", " error x"},
    });
}

TEST_F(MarkupTranslateTest, PolynomialFieldsWriteTheirTerms)
{
    ExpectTranslations({
        {"?{x^2-2x+1}", "{x^2-2x+1}"},
        {"?{sin(x)}", ""},
        {"?{0}", "{0}"},
        {"?{-x^3+x/3|3}", "{-x^3+0.333x}"},
        {"p(x)=?{(x-1)^2", "p(x)={x^2-2x+1}"},
    });
}

TEST_F(MarkupTranslateTest, FieldsUseTheLocaleSeparators)
{
    UseCommaLocale();
    EXPECT_EQ(Translate("!{1/4}"), QStringLiteral("{0,25}"));
    EXPECT_EQ(Translate("!{(1;0,5)}"), QStringLiteral("{(1;0,5)}"));
}

} // namespace
