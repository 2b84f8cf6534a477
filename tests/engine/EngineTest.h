#pragma once

#include "engine/EngineStartup.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Options.h"

#include <gtest/gtest.h>

// Starts every engine test from the point-decimal vocabulary and restores
// it afterwards, so a test that switches the locale cannot leak.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ResetVocabulary(); }
    void TearDown() override { ResetVocabulary(); }

    static void UseCommaLocale()
    {
        Separators.DecimalChar = u',';
        Separators.ListSepChar = u';';
        InitializeEngine();
    }

private:
    static void ResetVocabulary()
    {
        Options.Reset();
        Separators.Reset();
        InitializeEngine();
    }
};

// The same, starting from an empty document and leaving one behind.
class EngineDocumentTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ResetDocument();
    }
    void TearDown() override
    {
        ResetDocument();
        EngineTest::TearDown();
    }
};
