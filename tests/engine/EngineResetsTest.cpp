#include "engine/Compiler.h"
#include "engine/EngineResets.h"
#include "engine/EngineStartup.h"
#include "engine/TokenTable.h"
#include "model/Options.h"
#include "tests/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The vocabulary follows the separators: after a reset both are the defaults,
// whatever locale the previous test left behind.
TEST(EngineResetsTest, VocabularyAndCompileSettingsReturnToTheDefaults)
{
    Separators.DecimalChar = u',';
    Separators.ListSepChar = u';';
    InitializeEngine();
    CompileSettings.HorizontalAxisLetter = u'@';
    ASSERT_EQ(Vocabulary.TokenTable[TokenCodes.DecimalPoint].Name, QStringLiteral(","));

    ResetAllGlobals();

    EXPECT_EQ(Vocabulary.TokenTable[TokenCodes.DecimalPoint].Name, QStringLiteral("."));
    EXPECT_EQ(Vocabulary.TokenTable[TokenCodes.Comma].Name, QStringLiteral(","));
    EXPECT_EQ(CompileSettings.HorizontalAxisLetter, u'x');
    const QStringList names = RegisteredResetNames();
    EXPECT_LT(names.indexOf(QStringLiteral("separators")), names.indexOf(QStringLiteral("engine tables")));
}

} // namespace
