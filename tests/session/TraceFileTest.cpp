// The trace file beside the project: its layout, a save and load that keep
// every record, and damaged files.
#include "SessionTest.h"

#include "engine/Compiler.h"
#include "model/PointStateCodec.h"
#include "render/scene/TraceRecording.h"
#include "render/view/Scale.h"

#include <QFileInfo>

namespace {

class TraceFileTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        Compile(DocumentTables.Functions[1].Func, "a·x+b", ModeFunction); // a and b are used, c is not
        GraphScale.ViewParams = DocumentTables.Params; // as the last scene drew them
    }
    static void Compile(TKavirofunction& f, const char* text, int mode)
    {
        f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, mode);
    }
    static TPointState State(long double x, long double y)
    {
        TPointState s;
        s.Kind = ObjectPoint;
        s.X = x;
        s.Y = y;
        s.R = 0.25L;
        s.ColorNo1 = 0x123456;
        s.PointAImg = 1;
        s.Width = 3;
        s.PointStyle = 1;
        return s;
    }
    // Records with 1, 2 and 0 object states and 1, 2 and 0 parameter values.
    static void RecordThree()
    {
        TParamTable params = DocumentTables.Params;
        TTraceColors colors;
        TPointStates states;
        states[1] = State(0.1L, -2.5L);
        params[1].Value = 7.0L; // a
        TraceStore.Push(states, colors, params);

        states[22] = State(1e-4000L, 3.0L);
        params[2].Value = -0.3L; // b
        params[3].Value = 9.0L;  // c, unused: not written
        colors.Points[22] = 0x0000FF;
        colors.PointsR[22] = 0x00FF00;
        TraceStore.Push(states, colors, params);

        colors = TTraceColors{};
        for (int i = 1; i <= FunctionCount; ++i)
            colors.Functions[i] = static_cast<TColor>(0x010000 * i);
        for (int j = 1; j <= RelationCount; ++j)
            colors.Relations[j] = static_cast<TColor>(0x0100 * j);
        for (int s = 1; s <= SegmentCount; ++s)
            colors.Figures[s] = static_cast<TColor>(s);
        TraceStore.Push(TPointStates{}, colors, DocumentTables.Params);
    }
    static std::vector<TTraceRecord> ReadAll()
    {
        std::vector<TTraceRecord> records;
        TraceStore.ResetCursor();
        do
            records.push_back(TraceStore.ReadNext());
        while (!TraceStore.AtEnd());
        return records;
    }
    static std::int32_t Int32At(const QByteArray& bytes, qsizetype at)
    {
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= std::uint32_t{static_cast<std::uint8_t>(bytes[at + i])} << (8 * i);
        return static_cast<std::int32_t>(u);
    }
    QString Base() const { return PathOf(QStringLiteral("aula")); }
    QString TraceFile() const { return PathOf(QStringLiteral("aula.kvp")); }
};

TEST_F(TraceFileTest, NothingTracedWritesNoFileAndRemovesAStaleOne)
{
    EXPECT_TRUE(SaveKvp(Base()));
    EXPECT_FALSE(QFileInfo::exists(TraceFile()));
    WriteBytes(QStringLiteral("aula.kvp"), QByteArray("\x0EKaviro/win 2.8", 15));
    EXPECT_TRUE(SaveKvp(Base()));
    EXPECT_FALSE(QFileInfo::exists(TraceFile()));
    EXPECT_TRUE(sink_.empty());
}

// Each record is 4 + 102·N1 + 4 + 12·N2 + 412 bytes, after a 21-byte header.
TEST_F(TraceFileTest, TheFileIsAHeaderAndRecordsOfTheirStatesValuesAndColours)
{
    RecordThree();
    ASSERT_TRUE(SaveKvp(Base()));
    const QByteArray bytes = ReadBytes(QStringLiteral("aula.kvp"));
    ASSERT_GE(bytes.size(), 21);
    EXPECT_EQ(bytes.left(4), QByteArray("\x0E\x4B\x61\x76"));
    EXPECT_EQ(bytes.mid(1, 14), QByteArray("Kaviro/win 2.8"));
    EXPECT_EQ(bytes.mid(15, 6), QByteArray(6, '\0'));

    struct Counts {
        int N1, N2;
    };
    // The base record, the three records, and the present state the save records last.
    const std::vector<Counts> expected{{0, 0}, {1, 1}, {2, 2}, {0, 0}, {0, 0}};
    std::vector<Counts> found;
    qsizetype at = 21;
    while (at + 4 <= bytes.size()) {
        const int n1 = Int32At(bytes, at);
        const int n2 = Int32At(bytes, at + 4 + 102 * n1);
        found.push_back({n1, n2});
        if (n1 == 2) {
            EXPECT_EQ(bytes[at + 4], 1);   // objects in order, each with its number
            EXPECT_EQ(bytes[at + 106], 22);
            // Object colours: the first array then the second, as the store gives them.
            const qsizetype colors = at + 4 + 204 + 4 + 24 + 80 + 36;
            EXPECT_EQ(Int32At(bytes, colors + 21 * 4), 0x0000FF);
            EXPECT_EQ(Int32At(bytes, colors + 88 + 21 * 4), 0x00FF00);
        }
        at += 4 + 102 * n1 + 4 + 12 * n2 + 412;
    }
    EXPECT_EQ(at, bytes.size());
    ASSERT_EQ(found.size(), expected.size());
    for (size_t r = 0; r < found.size(); ++r) {
        EXPECT_EQ(found[r].N1, expected[r].N1) << r;
        EXPECT_EQ(found[r].N2, expected[r].N2) << r;
    }
}

TEST_F(TraceFileTest, SaveThenLoadGivesTheSameRecordsAndColours)
{
    RecordThree();
    ASSERT_TRUE(SaveKvp(Base()));
    const std::vector<TTraceRecord> before = ReadAll(); // the present state recorded last
    TraceStore.Clear();
    LoadKvp(Base());
    EXPECT_TRUE(sink_.empty());
    // The base record is not stored again: the load starts a new ring.
    const std::vector<TTraceRecord> after = ReadAll();
    ASSERT_EQ(after.size(), before.size());
    for (size_t r = 1; r < before.size(); ++r) {
        SCOPED_TRACE(r);
        for (int k = 1; k <= PointCount; ++k) {
            const TPointState& a = before[r].States[k];
            EXPECT_EQ(EncodePointState(after[r].States[k]), a.Kind ? EncodePointState(a) : TPointStateBlock{});
        }
        TTraceColors colors = before[r].Colors;
        colors.FigureFills = TFigureColours::filledWith(NoTraceColor); // fills are not kept
        EXPECT_EQ(after[r].Colors, colors);
        for (int j = 1; j <= ParamCount; ++j)
            EXPECT_EQ(after[r].Params[j].Value, j == 3 ? DocumentTables.Params[3].Value : before[r].Params[j].Value);
    }
    EXPECT_EQ(after[2].States[22].X, 1e-4000L);

    // A parameter stored as it was saved; one not stored takes its present value.
    DocumentTables.Params[1].Value = 5.0L;
    DocumentTables.Params[2].Value = 6.0L;
    LoadKvp(Base());
    const std::vector<TTraceRecord> again = ReadAll();
    EXPECT_EQ(again[1].Params[1].Value, 7.0L);
    EXPECT_EQ(again[1].Params[2].Value, 6.0L);
    EXPECT_EQ(again[2].Params[2].Value, -0.3L);
}

// A damaged record stops the reading with the message; the records read
// before it stay. Numbers beyond the tables are damage too.
TEST_F(TraceFileTest, ADamagedRecordSaysSoAndKeepsTheEarlierRecords)
{
    RecordThree();
    const QByteArray good = EncodeTraceFile();
    const qsizetype first = 21 + 4 + 4 + 412;        // the base record
    const qsizetype second = first + 4 + 102 + 4 + 12 + 412;
    const auto withInt32 = [&](qsizetype at, std::int32_t v) {
        QByteArray b = good;
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i));
        return b;
    };
    const auto withByte = [&](qsizetype at, int v) {
        QByteArray b = good;
        b[at] = static_cast<char>(v);
        return b;
    };
    struct Case {
        const char* What;
        QByteArray Bytes;
        int Kept; // records pushed (the first one read is the base record, which traces nothing)
    };
    const Case cases[] = {
        {"cut inside the third record", good.left(second + 300), 1},
        {"cut inside a colour array", good.left(good.size() - 3), 2},
        {"23 object states", withInt32(second, 23), 1},
        {"a negative count", withInt32(second, -1), 1},
        {"object number 23", withByte(second + 4, 23), 1},
        {"object number 0", withByte(second + 4, 0), 1},
        {"15 parameter values", withInt32(first + 4 + 102, 15), 0},
        {"parameter number 15", withByte(first + 4 + 102 + 4 + 10, 15), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        sink_.clear();
        WriteBytes(QStringLiteral("aula.kvp"), c.Bytes);
        LoadKvp(Base());
        ASSERT_EQ(sink_.messages().size(), 1u);
        EXPECT_EQ(sink_.last().text, QStringLiteral("Arquivo de Traço está com erro"));
        EXPECT_EQ(sink_.last().kind, 1);
        EXPECT_EQ(sink_.last().buttons, 4);
        EXPECT_EQ(TraceStore.IsEmpty() ? 0 : TraceStore.RecordCount() - 1, c.Kept);
    }
}

TEST_F(TraceFileTest, AFailedSaveSaysSo)
{
    RecordThree();
    WriteBytes(QStringLiteral("arquivo"), QByteArray("not a folder"));
    EXPECT_FALSE(SaveKvp(PathOf(QStringLiteral("arquivo/aula"))));
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Erro ao salvar arquivo\n") + PathOf(QStringLiteral("arquivo/aula.kvp")));
    EXPECT_EQ(sink_.last().kind, 1);
}

// The view's states of the project open before leave no trace in the next.
TEST_F(TraceFileTest, TheStatesOfTheProjectBeforeAreNotRecorded)
{
    GraphScale.PointStates[1] = State(1.0L, 1.0L);
    LoadKvp(Base());
    RecordTrace(GraphScale);
    EXPECT_TRUE(TraceStore.IsEmpty());
}

TEST_F(TraceFileTest, NoFileAnEmptyOneOrAnotherVersionLoadNothingQuietly)
{
    RecordThree();
    const QByteArray good = EncodeTraceFile();
    QByteArray otherVersion = good;
    otherVersion[14] = '7';
    for (const QByteArray& bytes : {QByteArray(), otherVersion, good.left(20)}) {
        RecordOneTrace();
        WriteBytes(QStringLiteral("aula.kvp"), bytes);
        LoadKvp(Base());
        EXPECT_TRUE(TraceStore.IsEmpty());
    }
    RecordOneTrace();
    LoadKvp(PathOf(QStringLiteral("nenhum")));
    EXPECT_TRUE(TraceStore.IsEmpty());
    EXPECT_TRUE(sink_.empty());
}

} // namespace
