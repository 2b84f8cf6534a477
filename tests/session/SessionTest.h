#pragma once

#include "session/ProjectEncoding.h"
#include "session/ProjectFile.h"
#include "session/ProjectHost.h"
#include "session/SessionResets.h"
#include "session/TraceFile.h"
#include "session/fakes/CountingDocumentParticipant.h"
#include "session/fakes/CountingProjectHost.h"

#include "engine/EngineStartup.h"
#include "model/LineCodec.h"
#include "model/Options.h"
#include "render/scene/TraceStore.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "tests/QtPrinters.h"
#include "tests/Separators.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>

// The project text of the current document.
inline QStringList WrittenLines()
{
    TstringData text;
    WriteProject(text);
    return text.Lines();
}
// Reads lines as the undo store does.
inline bool ReadLines(const QStringList& lines)
{
    TstringData text;
    text.Assign(lines);
    return ReadProject(text);
}

// Each test starts from a new document, a counting window host, a counting
// feature with a store of its own, a message
// recorder and an empty folder of its own.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterSessionResets();
        ResetAllGlobals();
        InitializeEngine();
        SetOriginObject(); // as every new document has it
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override { UsePointLocale(); }

    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    void WriteBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadBytes(const QString& name) const
    {
        QFile file(PathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Saves the current document as <name>.kvf in the test's folder.
    bool SaveAs(const QString& name)
    {
        ProjectFile.FileName = PathOf(name);
        return SaveKvf();
    }
    // One record in the trace store: object P traced at (x, 0).
    static void RecordOneTrace(long double x = 1.0L)
    {
        TPointStates states;
        states[1].Kind = ObjectPoint;
        states[1].X = x;
        states[1].PointAImg = 1;
        TraceStore.Push(states, TTraceColors{}, DocumentTables.Params);
    }
    // Opens <name>.kvf of the test's folder.
    bool Open(const QString& name) { return OpenProject(PathOf(name)); }

    // The lines of a fixture (UTF-8 text).
    static QStringList FixtureLines(const QString& name)
    {
        return DecodeProjectBytes(Fixture(name)).Lines;
    }
    // Lines saved as a UTF-16 project file and opened.
    bool OpenLines(const QString& name, const QStringList& lines)
    {
        WriteBytes(name + QStringLiteral(".kvf"), EncodeProjectLines(lines));
        return Open(name);
    }

    // A fixture file of tests/session/data.
    static QByteArray Fixture(const QString& name)
    {
        QFile file(QStringLiteral(KAVIRO_SESSION_TEST_DATA "/") + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Copies a fixture into the test's folder and opens it.
    bool OpenFixture(const QString& name)
    {
        const QByteArray bytes = Fixture(name);
        EXPECT_FALSE(bytes.isEmpty()) << name.toStdString();
        WriteBytes(name, bytes);
        return Open(name);
    }

    CountingProjectHost host_;
    ScopedProjectHost scopedHost_{host_};
    CountingDocumentParticipant feature_;
    TDocumentParticipation featureTakesPart_{feature_, TDocumentOrder::Scripts};
    platform::RecordingMessageSink sink_;
    platform::ScopedMessageSink scopedSink_{sink_};
    QTemporaryDir dir_;
};
