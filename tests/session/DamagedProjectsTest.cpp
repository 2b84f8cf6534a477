// Project texts damaged at random, the same way on every run: lines
// replaced, dropped, repeated, swapped, a field made extreme, another
// version's header. None may crash the reader or store outside the tables;
// the origin stays the origin; and whatever is read saves the same twice.
#include "SampleDocument.h"
#include "SessionTest.h"

#include "session/PanelLayout.h"

#include "model/DocumentState.h"
#include "model/Figures.h"

#include <QDirIterator>
#include <random>

namespace {

// The texts the damage starts from: every project of the tests and the
// full sample document.
std::vector<QStringList> SourceTexts()
{
    std::vector<QStringList> texts;
    QDirIterator it(QStringLiteral(KAVIRO_SOURCE_DIR "/tests"), {QStringLiteral("*.kvf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths.append(it.next());
    paths.append(QStringLiteral(KAVIRO_SOURCE_DIR "/demo.kvf"));
    paths.sort();
    for (const QString& path : paths) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            texts.push_back(DecodeProjectBytes(file.readAll()).Lines);
    }
    ResetAllGlobals();
    InitializeEngine();
    SetOriginObject();
    sample_document::Build();
    texts.push_back(WrittenLines());
    return texts;
}

class TextDamage {
public:
    explicit TextDamage(std::uint32_t seed) : random_(seed) {}

    QStringList Damaged(QStringList lines)
    {
        const int changes = 1 + Below(3);
        for (int i = 0; i < changes && lines.size() > 2; ++i)
            DamageOnce(lines);
        return lines;
    }

private:
    int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }
    template <std::size_t N>
    QString Pick(const std::array<const char16_t*, N>& choices)
    {
        return QString::fromUtf16(choices[static_cast<std::size_t>(Below(N))]);
    }

    void DamageOnce(QStringList& lines)
    {
        // The header stays: a file with another header is refused before reading.
        const int i = 1 + Below(static_cast<int>(lines.size()) - 1);
        switch (Below(6)) {
        case 0:
            lines[i] = Below(2) ? Pick(OddLines) : lines[Below(static_cast<int>(lines.size()))];
            break;
        case 1:
            lines.removeAt(i);
            break;
        case 2:
            lines.insert(i, lines[i]);
            break;
        case 3: {
            QStringList fields = lines[i].split(u' ');
            fields[Below(static_cast<int>(fields.size()))] = Pick(OddFields);
            lines[i] = fields.join(u' ');
            break;
        }
        case 4:
            lines.swapItemsAt(i, std::min<qsizetype>(i + 1 + Below(3), lines.size() - 1));
            break;
        default:
            lines[0] = QStringLiteral("Kaviro/win ") + Pick(Versions);
            break;
        }
    }

    static constexpr std::array<const char16_t*, 12> OddLines{
        u"", u"----------", u"0", u"2147483647", u"-5", u"255 255 255 255 255", u"Point", u"P", u"\t", u"  ",
        u"a b c", u"22 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9 9",
    };
    static constexpr std::array<const char16_t*, 24> OddFields{
        u"0",   u"-1",    u"1",     u"2",          u"22",         u"23",          u"30",   u"31",
        u"200", u"201",   u"252",   u"255",        u"256",        u"65535",       u"-2147483648",
        u"2147483647",    u"99999999999",          u"1e4932",     u"4e-4951",     u"-0",   u"x",
        u"",    u"1.5",   u"nan",
    };
    static constexpr std::array<const char16_t*, 13> Versions{
        u"1.6", u"1.7", u"1.8", u"1.9", u"2.0", u"2.1", u"2.2", u"2.3", u"2.4", u"2.5", u"2.6", u"2.7", u"2.8",
    };
    std::mt19937 random_;
};

class DamagedProjectsTest : public SessionTest {
protected:
    // After the read, as after an undo step: refreshed, saved, read and
    // refreshed again, saved again.
    static void ExpectSavedTheSameTwice()
    {
        RefreshAll();
        const QStringList first = WrittenLines();
        ASSERT_TRUE(ReadLines(first));
        RefreshAll();
        const QStringList second = WrittenLines();
        qsizetype line = 0;
        while (line < first.size() && line < second.size() && first[line] == second[line])
            ++line;
        EXPECT_EQ(line, first.size()) << "line " << line + 1 << ": \"" << second.value(line).toStdString()
                                      << "\" where it was \"" << first.value(line).toStdString() << "\"";
        EXPECT_EQ(second.size(), first.size());
    }
    static void ExpectTablesInShape()
    {
        const TPointFunction& origin = DocumentTables.Points[22];
        EXPECT_EQ(origin.Kind, ObjectPoint);
        EXPECT_EQ(origin.X.Text, QStringLiteral("0"));
        EXPECT_EQ(origin.Y.Text, QStringLiteral("0"));
        EXPECT_EQ(origin.Dimension, 2);
        ASSERT_GE(Segments.Data.Count, 0);
        ASSERT_LE(Segments.Data.Count, SegmentCount);
        for (int s = 1; s <= Segments.Data.Count; ++s)
            for (const std::uint8_t v : Segments.Data.Items[s].Vertices)
                EXPECT_TRUE(v == 0 || IsVertexNumber(v)) << int(v);
        const auto expectPlaces = [](std::span<const TRowState> rows) {
            for (const TRowState& row : rows) {
                EXPECT_GE(row.Position, 0);
                EXPECT_LE(row.Position, 255);
            }
        };
        expectPlaces(PanelLayout.UserFunctionRows);
        expectPlaces(PanelLayout.FunctionRows);
        expectPlaces(PanelLayout.RelationRows);
        expectPlaces(PanelLayout.PointRows);
        expectPlaces(PanelLayout.ParamRows);
    }
};

TEST_F(DamagedProjectsTest, DamageIsReadSafelyAndSavesTheSameTwice)
{
    const std::vector<QStringList> sources = SourceTexts();
    TextDamage damage(32);
    int read = 0;
    // The texts as they are, then damaged copies of them in turn.
    const int cases = static_cast<int>(sources.size()) + 150;
    for (int i = 0; i < cases; ++i) {
        const std::size_t source = static_cast<std::size_t>(i) % sources.size();
        const QStringList text = i < static_cast<int>(sources.size()) ? sources[source] : damage.Damaged(sources[source]);
        SCOPED_TRACE(i);
        if (!ReadLines(text))
            continue;
        ++read;
        ExpectTablesInShape();
        ExpectSavedTheSameTwice();
    }
    EXPECT_GT(read, cases * 3 / 4);
}

} // namespace
