#include "session/TraceFile.h"

#include "session/ProjectFile.h"

#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/MessageBox.h"
#include "model/PointStateCodec.h"
#include "render/scene/TraceRecording.h"
#include "render/scene/TraceStore.h"
#include "render/view/Scale.h"

#include <QFile>
#include <QSaveFile>

#include <array>
#include <cstdint>
#include <span>

namespace {

// The header: a length byte, the version text, padding.
const QByteArray HeaderText = QByteArrayLiteral("Kaviro/win 2.8");
constexpr int HeaderBytes = 21;

using TUsedParams = std::array<bool, ParamCount + 1>;

// A parameter is used when some function, relation or object reads it; a
// record keeps only the used parameters whose values differ from now.
TUsedParams UsedParameters()
{
    const TDocumentTables& doc = DocumentTables;
    TUsedParams used{};
    for (int j = 1; j <= ParamCount; ++j) {
        const TTokenCode token = Vocabulary.ParamTokens[j];
        for (const TEquationFunction& f : doc.Functions)
            used[j] = used[j] || RefersToToken(token, f.Func);
        for (const TEquationFunction& r : doc.Relations)
            used[j] = used[j] || RefersToToken(token, r.Func);
        for (const TPointFunction& p : doc.Points)
            used[j] = used[j] || PointRefersToToken(token, p);
    }
    return used;
}

class ByteWriter {
public:
    explicit ByteWriter(QByteArray& out)
        : out_(out)
    {
    }
    void Byte(std::uint8_t b) { out_.append(static_cast<char>(b)); }
    void Int32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            Byte(static_cast<std::uint8_t>(u >> (8 * i)));
    }
    void Bytes(std::span<const std::uint8_t> bytes)
    {
        out_.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }
    void Extended(long double v)
    {
        std::array<std::uint8_t, Extended80Bytes> bytes{};
        WriteExtended80(v, bytes);
        Bytes(bytes);
    }
    template <class Colors>
    bool ColorArray(const Colors& colors)
    {
        for (const TColor c : colors)
            Int32(static_cast<std::int32_t>(c));
        return true;
    }

private:
    QByteArray& out_;
};

// Reads from the front; every read fails once the bytes run out.
class ByteReader {
public:
    ByteReader(const QByteArray& in, qsizetype at)
        : in_(in)
        , at_(at)
    {
    }
    bool AtEnd() const { return at_ >= in_.size(); }
    // The next n bytes, or nothing when fewer are left.
    const std::uint8_t* Take(qsizetype n)
    {
        if (in_.size() - at_ < n)
            return nullptr;
        const auto* p = reinterpret_cast<const std::uint8_t*>(in_.constData() + at_);
        at_ += n;
        return p;
    }
    bool Byte(std::uint8_t& b)
    {
        const std::uint8_t* p = Take(1);
        if (p)
            b = *p;
        return p != nullptr;
    }
    bool Int32(std::int32_t& v)
    {
        const std::uint8_t* p = Take(4);
        if (!p)
            return false;
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= std::uint32_t{p[i]} << (8 * i);
        v = static_cast<std::int32_t>(u);
        return true;
    }
    // A count that must lie in 0..limit.
    bool Count(int limit, int& n)
    {
        std::int32_t v = 0;
        if (!Int32(v) || v < 0 || v > limit)
            return false;
        n = v;
        return true;
    }
    // A number 1..limit followed by its padding byte.
    bool Number(int limit, int& n)
    {
        std::uint8_t b = 0;
        std::uint8_t padding = 0;
        if (!Byte(b) || !Byte(padding) || b < 1 || b > limit)
            return false;
        n = b;
        return true;
    }
    template <class Colors>
    bool ColorArray(Colors& colors)
    {
        for (TColor& c : colors) {
            std::int32_t v = 0;
            if (!Int32(v))
                return false;
            c = static_cast<TColor>(v);
        }
        return true;
    }

private:
    const QByteArray& in_;
    qsizetype at_;
};

void WriteHeader(ByteWriter& out)
{
    out.Byte(static_cast<std::uint8_t>(HeaderText.size()));
    out.Bytes({reinterpret_cast<const std::uint8_t*>(HeaderText.constData()), static_cast<size_t>(HeaderText.size())});
    for (qsizetype i = 1 + HeaderText.size(); i < HeaderBytes; ++i)
        out.Byte(0);
}

bool HasHeader(const QByteArray& bytes)
{
    return bytes.size() >= HeaderBytes && static_cast<std::uint8_t>(bytes[0]) == HeaderText.size() &&
           bytes.mid(1, HeaderText.size()) == HeaderText;
}

// The object colours go out in the order the store gives them and come
// back into the same arrays.
template <class Stream, class Colors>
bool ColorArrays(Stream& stream, Colors& colors)
{
    return stream.ColorArray(colors.Functions) && stream.ColorArray(colors.Relations) &&
           stream.ColorArray(colors.Points) && stream.ColorArray(colors.PointsR) && stream.ColorArray(colors.Figures);
}

void WriteRecord(ByteWriter& out, const TTraceRecord& record, const TUsedParams& used)
{
    int states = 0;
    for (const TPointState& s : record.States)
        states += s.Kind != ObjectEmpty;
    out.Int32(states);
    for (int k = 1; k <= PointCount; ++k) {
        if (record.States[k].Kind == ObjectEmpty)
            continue;
        out.Byte(static_cast<std::uint8_t>(k));
        out.Byte(0);
        out.Bytes(EncodePointState(record.States[k]));
    }
    const TParamTable& now = DocumentTables.Params;
    const auto differs = [&](int j) { return used[j] && record.Params[j].Value != now[j].Value; };
    int values = 0;
    for (int j = 1; j <= ParamCount; ++j)
        values += differs(j);
    out.Int32(values);
    for (int j = 1; j <= ParamCount; ++j) {
        if (!differs(j))
            continue;
        out.Extended(record.Params[j].Value);
        out.Byte(static_cast<std::uint8_t>(j));
        out.Byte(0);
    }
    ColorArrays(out, record.Colors);
}

// One record into the store; false when it is damaged or cut short.
bool ReadRecord(ByteReader& in)
{
    TPointStates states;
    int n = 0;
    if (!in.Count(PointCount, n))
        return false;
    for (int i = 0; i < n; ++i) {
        int k = 0;
        const std::uint8_t* block = nullptr;
        if (!in.Number(PointCount, k) || !(block = in.Take(PointStateBytes)))
            return false;
        states[k] = DecodePointState(std::span<const std::uint8_t, PointStateBytes>(block, PointStateBytes));
    }
    TParamTable params = DocumentTables.Params;
    if (!in.Count(ParamCount, n))
        return false;
    for (int i = 0; i < n; ++i) {
        const std::uint8_t* value = in.Take(Extended80Bytes);
        int j = 0;
        if (!value || !in.Number(ParamCount, j))
            return false;
        params[j].Value = ReadExtended80(std::span<const std::uint8_t, Extended80Bytes>(value, Extended80Bytes));
    }
    // The file keeps no figure fills: the figures replay unfilled.
    TTraceColors colors;
    if (!ColorArrays(in, colors))
        return false;
    TraceStore.Push(states, colors, params);
    return true;
}

QString TracePath(const QString& base)
{
    return base + TraceFileExtension;
}

} // namespace

QByteArray EncodeTraceFile()
{
    QByteArray bytes;
    ByteWriter out(bytes);
    WriteHeader(out);
    const TUsedParams used = UsedParameters();
    TBpnt& store = TraceStore;
    TTraceRecord record;
    store.ResetCursor();
    do {
        store.ReadNext(record);
        WriteRecord(out, record, used);
    } while (!store.AtEnd());
    return bytes;
}

TTraceFileRead DecodeTraceFile(const QByteArray& bytes)
{
    TraceStore.Clear();
    if (!HasHeader(bytes))
        return TTraceFileRead::NotATraceFile;
    ByteReader in(bytes, HeaderBytes);
    while (!in.AtEnd())
        if (!ReadRecord(in))
            return TTraceFileRead::Damaged;
    return TTraceFileRead::Read;
}

bool SaveKvp(const QString& base)
{
    RecordTrace(GraphScale);
    const QString path = TracePath(base);
    if (!TraceStore.HasRecords()) {
        QFile::remove(path);
        return true;
    }
    const QByteArray bytes = EncodeTraceFile();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ShowSaveError(path);
        return false;
    }
    return true;
}

void LoadKvp(const QString& base)
{
    TraceStore.Clear();
    // The view's object states are still those of the project open before:
    // the first redraw would record them as this project's trace.
    for (TPointState& s : GraphScale.PointStates)
        s.Kind = ObjectEmpty;
    for (TPointState& s : GraphScale.RecordedStates)
        s.Kind = ObjectEmpty;
    QFile file(TracePath(base));
    if (!file.open(QIODevice::ReadOnly))
        return;
    if (DecodeTraceFile(file.readAll()) == TTraceFileRead::Damaged)
        ShowMsgBox(TraceFileErrorMessage, MsgError, MsgOk);
}
