// The reader of the project text, with the rules of every older format.
#include "session/FilePunctuation.h"
#include "session/PanelLayout.h"
#include "session/ProjectFile.h"
#include "session/DocumentParticipants.h"
#include "session/ProjectHost.h"
#include "session/ProjectSections.h"

#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "engine/References.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/NumberText.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/ScriptStore.h"
#include "model/ViewRange.h"
#include "render/view/Scale.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <bitset>
#include <span>

using namespace project_text;

namespace {

constexpr int PanelBelowAll = 2000; // the figure panel's place in files older than 2.1
constexpr int PaletteSize = 16;
constexpr int MaxRowPosition = 255;

// Everything a read may change, kept so that a refused text leaves the
// document as it was.
struct TDocumentCopy {
    TDocumentTables Tables = DocumentTables;
    Tmacrocommand Scripts = MacroCommands; // the read empties it with the note text
    TDocumentOptions DocumentOptions = Options;
    TSegments Figures = Segments;
    TPanelLayout Layout = PanelLayout;
    QString BGfile = ProjectFile.BGfile;
    ScaleSubT XAxis = GraphScale.XAxis;
    ScaleSubT YAxis = GraphScale.YAxis;
    std::uint8_t SquareQ = GraphScale.SquareQ;
    std::uint8_t PsMesh = GraphScale.PsMesh;
    std::uint8_t AxisWidth = GraphScale.AxisWidth;
    std::uint8_t AxisOn = GraphScale.AxisOn;
    std::uint8_t Letterposition = GraphScale.Letterposition;
    std::uint8_t LetterFrac = GraphScale.LetterFrac;
    int PolorNum = GraphScale.PolorNum;
    int FontSize = ProgramState.FontSize;
    TCompileSettings Compile = CompileSettings;
    TViewRange Range = ViewRange;

    void Restore() const
    {
        DocumentTables = Tables;
        MacroCommands = Scripts;
        Options = DocumentOptions;
        Segments = Figures;
        PanelLayout = Layout;
        ProjectFile.BGfile = BGfile;
        GraphScale.XAxis = XAxis;
        GraphScale.YAxis = YAxis;
        GraphScale.SquareQ = SquareQ;
        GraphScale.PsMesh = PsMesh;
        GraphScale.AxisWidth = AxisWidth;
        GraphScale.AxisOn = AxisOn;
        GraphScale.Letterposition = Letterposition;
        GraphScale.LetterFrac = LetterFrac;
        GraphScale.PolorNum = PolorNum;
        ProgramState.FontSize = FontSize;
        CompileSettings = Compile;
        ViewRange = Range;
    }
};

// The headers from which a rule of the format holds.
enum TVersion : int { V17, V19, V20, V21, V22, V23, V25, V26, V27, V28, VersionCount };
constexpr std::array<const char16_t*, VersionCount> VersionHeaders{
    u"Kaviro/win 1.7", u"Kaviro/win 1.9", u"Kaviro/win 2.0", u"Kaviro/win 2.1", u"Kaviro/win 2.2",
    u"Kaviro/win 2.3", u"Kaviro/win 2.5", u"Kaviro/win 2.6", u"Kaviro/win 2.7", u"Kaviro/win 2.8"};

// Files before 2.7 held 20 objects, P Q R S T A .. O: objects 6..20 are
// 8..22 now (U and V came in at 6).
constexpr int OldObjectCount = 20;
int RenumberedOldObject(int k)
{
    return k >= 6 && k <= OldObjectCount ? k + 2 : k;
}

// The integral's partitions: 1..200, else the default 10.
int PartitionsOrDefault(int slices)
{
    return slices >= 1 && slices <= 200 ? slices : 10;
}

// A row's stored place; one outside 0..255 is none.
int RowPlace(int p)
{
    return p >= 0 && p <= MaxRowPosition ? p : 0;
}

// What makes object O the origin, whatever a file says of it; its label and
// styles are the file's.
void MakeOriginPoint(TPointFunction& o)
{
    o.Kind = ObjectPoint;
    o.X.Text = QStringLiteral("0");
    o.Y.Text = QStringLiteral("0");
    o.Dimension = 2;
    o.Draggable = 0;
}

bool IsFigureVertex(int v)
{
    return (v >= 1 && v <= PointCount) || v == AxisXObject || v == AxisYObject || v == OriginVertexCode;
}

TColor PaletteColor(TColor number)
{
    const int i = std::clamp(static_cast<int>(number), 0, PaletteSize - 1);
    return ColorScheme.ColorPalette[static_cast<std::size_t>(i)];
}

class ProjectReader {
public:
    ProjectReader(const TstringData& source, bool lastLineEnded)
        : lines_(source.Lines())
        , lastLineEnded_(lastLineEnded)
    {
        d_.Assign(lines_);
        d_.LoadLine();
        header_ = FirstTabField(d_.Line);
        for (int v = 0; v < VersionCount; ++v)
            versions_[static_cast<std::size_t>(v)] = header_ >= QStringView(VersionHeaders[static_cast<std::size_t>(v)]);
        file_ = PunctuationOfText(lines_.size() > 1 ? lines_[1] : QString());
        memory_ = DocumentPunctuation();
    }

    // Up to the view: false when the text ends before the view is complete.
    bool ReadUpToView()
    {
        ResetDocumentForRead();
        SkipToSeparator();
        ProjectFile.BGfile.clear();
        if (!V(V28)) {
            TPointFunction& origin = DocumentTables.Points[OriginObject];
            origin.ColorNo1 = origin.RColorNo1 = origin.InsideColor = 0;
            pointColorsRead_.set(OriginObject);
        }
        if (V(V17))
            ReadBackground();
        Options.BGshown = ProjectFile.BGfile.isEmpty() ? 0 : 1;
        ReadUserFunctions();
        ReadEquations(DocumentTables.Functions, PanelLayout.FunctionRows, false);
        ReadEquations(DocumentTables.Relations, PanelLayout.RelationRows, true);
        ReadObjects();
        ReadFigures();
        ReadParameters();
        ReadOptions();
        ReadAxis(GraphScale.XAxis, true);
        ReadAxis(GraphScale.YAxis, false);
        CompileFormulas();
        return ReadView();
    }

    void ReadAfterView()
    {
        if (!IsAtEnd())
            ReadYvalueTool();
        if (!IsAtEnd())
            ReadIntegralTool();
        if (!IsAtEnd())
            ReadYvalueRows();
        if (!IsAtEnd())
            ReadPanels();
        if (!IsAtEnd())
            ReadNotes();
        if (!IsAtEnd())
            ReadTable();
        if (!IsAtEnd())
            ReadSimpleMemo();
        PrepareToolFormulas();
        if (!V(V28))
            ConvertColorNumbers();
        BreakCircularReferences();
    }

private:
    bool V(TVersion v) const { return versions_[static_cast<std::size_t>(v)]; }

    // ---------------------------------------------------------- the cursor
    // Every step goes through Next, so that the reader knows where it is.

    void Next()
    {
        if (pos_ < lines_.size())
            ++pos_;
        d_.NextLine();
    }
    bool IsAtEnd() const { return lines_.size() - pos_ < 2; }
    bool IsPastEnd() const { return pos_ >= lines_.size(); }
    // The current line is a separator, or there is none: a section that
    // ends early is not read beyond its end.
    bool AtSectionEnd() const { return IsPastEnd() || lines_[pos_].startsWith(SeparatorPrefix); }

    static QString FirstTabField(const QString& line)
    {
        return line.section(u'\t', 0, 0).trimmed();
    }

    // Steps over lines up to and over the next separator; the caption is
    // then the current line. False when the text ended first.
    bool SkipToSeparator()
    {
        for (;;) {
            const bool found = !IsPastEnd() && lines_[pos_].startsWith(SeparatorPrefix);
            Next();
            if (found || IsAtEnd())
                return lastSkipFound_ = found;
        }
    }
    // The next section, its caption stepped over.
    bool BeginSection()
    {
        const bool found = SkipToSeparator();
        Next();
        return found;
    }
    // A line of numbers; a separator is left for the next section.
    void EndValuesLine()
    {
        if (!AtSectionEnd())
            Next();
    }

    // ------------------------------------------------------------ fields

    int ReadInt(int def = 0)
    {
        int i = def;
        d_.ReadInt(i);
        return i;
    }
    void ReadByte(std::uint8_t& b) { d_.ReadByte(b); }
    void ReadColor(TColor& c)
    {
        int i = static_cast<int>(c);
        d_.ReadInt(i);
        c = static_cast<TColor>(i);
    }
    void ReadFloat(long double& x) { d_.ReadFloat(x, file_.Decimal); }
    // The rest of the current line as it stands.
    QString RestOfLine()
    {
        QString rest = d_.Line;
        d_.Line.clear();
        return rest;
    }
    // A text line: up to its first tab, trimmed.
    QString ReadTextLine()
    {
        QString s;
        d_.ReadTabField(s);
        Next();
        return s;
    }
    // A formula's text on a line: up to its first tab, trimmed.
    static QString FormulaOf(const QString& line) { return line.section(u'\t', 0, 0).trimmed(); }
    // A note line: trimmed, tabs kept.
    QString ReadWholeLine()
    {
        const QString s = d_.Line.trimmed();
        Next();
        return s;
    }
    QString ToMemory(const QString& formula) const { return ConvertFormulaText(formula, file_, memory_); }
    QString MarkupToMemory(const QString& text) const { return ConvertMarkupText(text, file_, memory_); }
    void ReadFormulaLine(TKavirofunction& f) { f.Text = ToMemory(ReadTextLine()); }

    // A line holding a count; a negative one counts nothing.
    int ReadCount()
    {
        const int n = std::max(ReadInt(), 0);
        EndValuesLine();
        return n;
    }

    // The blank-separated fields left on the current line.
    int FieldsLeft() const
    {
        return static_cast<int>(d_.Line.split(u' ', Qt::SkipEmptyParts).size());
    }

    // [n p1 .. pn s1 .. sn] into the first rows; rows beyond the list are
    // read and dropped, and a count beyond the line's fields reads no more
    // than it holds. A position outside 0..255 is none.
    int ReadRows(std::span<TRowState> rows, bool uniquePositions)
    {
        const int n = std::clamp(ReadInt(), 0, FieldsLeft());
        std::bitset<MaxRowPosition + 1> taken;
        for (int i = 1; i <= n; ++i) {
            int p = RowPlace(ReadInt());
            if (uniquePositions) {
                if (taken[static_cast<std::size_t>(p)])
                    p = 0;
                else if (p != 0)
                    taken.set(static_cast<std::size_t>(p));
            }
            if (i <= static_cast<int>(rows.size()))
                rows[static_cast<std::size_t>(i - 1)].Position = p;
        }
        for (int i = 1; i <= n; ++i) {
            std::uint8_t shown = 1;
            d_.ReadBool(shown);
            if (i <= static_cast<int>(rows.size()))
                rows[static_cast<std::size_t>(i - 1)].Shown = shown;
        }
        EndValuesLine();
        return n;
    }

    // ---------------------------------------------------------- sections

    void ResetDocumentForRead()
    {
        ResetObjectRecords();
        NewDocumentLists();
        ResetPrms();
        ClearTable();
        Segments.Clear();
        SetOriginObject();
        PanelLayout.ClearRows();
    }

    void ReadBackground()
    {
        Next(); // the caption
        int mode = ReadInt();
        const QString name = RestOfLine().trimmed();
        Options.BGstretchOn = mode != 0 ? 1 : 0;
        if (mode == 0)
            mode = 1;
        Options.BGMode = static_cast<std::uint8_t>(std::clamp(mode, 0, 255));
        if (!name.isEmpty())
            ProjectFile.BGfile = QFileInfo(ProjectFile.FileName).path() + u'/' + name;
        EndValuesLine();
        SkipToSeparator();
    }

    void ReadUserFunctions()
    {
        Next();
        auto& rows = PanelLayout.UserFunctionRows;
        const int n = ReadRows(rows, false);
        for (int i = 1; i <= std::min(n, UserFunctionCount) && !IsPastEnd(); ++i) {
            TKavirofunction& f = DocumentTables.UserFunctions[i];
            ReadFormulaLine(f);
            if (!f.Text.isEmpty())
                AssignRowPosition(rows, i);
        }
        SkipToSeparator();
    }

    template <class Table>
    void ReadEquations(Table& table, std::span<TRowState> rows, bool relations)
    {
        Next();
        const int n = std::min(ReadRows(rows, false), Table::High);
        for (int i = 1; i <= n && !IsPastEnd(); ++i) {
            TEquationFunction& f = table[i];
            ReadFormulaLine(f.Func);
            f.LineStyle = 1;
            ReadByte(f.AfterImage);
            ReadColor(f.Color);
            ReadByte(f.Width);
            if (relations) {
                ReadByte(f.AutoCalc);
                ReadByte(f.Pattern);
            }
            ReadByte(f.Visible);
            if (relations)
                ReadByte(f.Border);
            ReadByte(f.LineStyle);
            EndValuesLine();
            colorsRead_.push_back(&f.Color);
            if (!f.Func.Text.isEmpty())
                AssignRowPosition(rows, i);
        }
        SkipToSeparator();
    }

    void ReadObjects()
    {
        Next();
        auto& rows = PanelLayout.PointRows;
        const int n = ReadRows(rows, true);
        if (!V(V27)) {
            for (int i = PointCount; i >= 8; --i)
                rows[i] = rows[i - 2];
            rows[6] = rows[7] = TRowState{0, 1};
        }
        MakePositionsDense(rows);
        for (int i = 1; i <= n && !AtSectionEnd(); ++i) {
            const int k = ObjectOfEntry(i);
            if (k < 1 || k > PointCount)
                SkipObjectEntry();
            else
                ReadObject(k);
        }
        MakeOriginPoint(DocumentTables.Points[OriginObject]);
        // Objects in use get a row, the origin too when the file holds none.
        for (int k = 1; k <= PointCount; ++k)
            if (DocumentTables.Points[k].Kind != ObjectEmpty)
                AssignRowPosition(rows, k);
        SkipToSeparator();
    }

    // The object of entry i: by its letter line from 2.5 on, else by its
    // place (renumbered before 2.7). 0 or less: no object.
    int ObjectOfEntry(int i)
    {
        if (V(V25))
            return PointIndex(ReadTextLine());
        if (V(V27))
            return i;
        return i <= OldObjectCount ? RenumberedOldObject(i) : 0;
    }

    // 22 times over, a position moves down while the one below is free.
    static void MakePositionsDense(TOffsetArray<TRowState, 1, PointCount>& rows)
    {
        for (int pass = 0; pass < PointCount; ++pass) {
            for (TRowState& row : rows) {
                while (row.Position > 1 && std::none_of(rows.begin(), rows.end(), [&](const TRowState& r) {
                           return r.Position == row.Position - 1;
                       }))
                    --row.Position;
            }
        }
    }

    // The lines of an object entry after its kind line, by the version.
    int ObjectEntryLines() const
    {
        // Label, X, Y, R; Low, High and the parameter line; trace, colour and width lines.
        return 4 + (V(V21) ? 3 : 0) + 3;
    }

    // An entry of no known object: stepped over by its kind line and the layout.
    void SkipObjectEntry()
    {
        std::uint8_t kind = 0;
        ReadByte(kind);
        EndValuesLine();
        if (V(V19) && kind == ObjectEmpty)
            return;
        for (int i = 0; i < ObjectEntryLines() && !IsPastEnd(); ++i)
            Next();
    }

    void ReadObject(int k)
    {
        TPointFunction& p = DocumentTables.Points[k];
        p.Dimension = 1;
        ReadByte(p.Kind);
        ReadByte(p.LabelPos);
        ReadByte(p.Dimension);
        EndValuesLine();
        if (V(V19) && p.Kind == ObjectEmpty)
            return;
        p.Label = MarkupToMemory(d_.Line);
        Next();
        ReadFormulaLine(p.X);
        ReadFormulaLine(p.Y);
        ReadFormulaLine(p.R);
        if (V(V21)) {
            ReadFormulaLine(p.Low);
            ReadFormulaLine(p.High);
            d_.ReadChar(p.ParamChar);
            ReadFloat(p.ParamStep);
            EndValuesLine();
        }
        ReadByte(p.PointAImg);
        ReadByte(p.RAImg);
        EndValuesLine();
        p.LineStyle = 1;
        p.FigType = 0;
        p.Draggable = 1;
        p.Sync = 0;
        p.Pattern = 1;
        ReadColor(p.ColorNo1);
        ReadColor(p.RColorNo1);
        ReadColor(p.InsideColor);
        ReadByte(p.Shown);
        ReadByte(p.PointStyle);
        ReadByte(p.Draggable);
        ReadByte(p.Pattern);
        ReadByte(p.LineStyle);
        ReadByte(p.FigType);
        ReadByte(p.Sync);
        EndValuesLine();
        pointColorsRead_.set(static_cast<std::size_t>(k));
        ReadByte(p.Width);
        ReadByte(p.LocusWidth);
        ReadByte(p.RWidth);
        EndValuesLine();
        if (p.R.Text.trimmed().isEmpty())
            p.R.Text = QStringLiteral("0");
        if (!V(V21) && (p.Kind == ObjectCircle || p.Kind == ObjectPolar)) {
            if (p.Kind == ObjectPolar) {
                p.High.Text = QStringLiteral("2Pi");
                p.Low.Text = QStringLiteral("0");
                p.RWidth = p.LocusWidth;
                p.RColorNo1 = p.ColorNo1;
                p.ParamChar = u'@';
            }
            p.LocusWidth = 0;
        }
    }

    void ReadFigures()
    {
        Next();
        const int count = ReadCount();
        int stored = 0;
        for (int s = 1; s <= count && !AtSectionEnd(); ++s) {
            Tsegment f = ReadFigure();
            if (stored < SegmentCount)
                Segments.Data.Items[++stored] = f;
        }
        Segments.Data.Count = stored;
        SkipToSeparator();
    }

    Tsegment ReadFigure()
    {
        Tsegment f;
        std::uint8_t f1 = 0;
        std::uint8_t f2 = 0;
        ReadByte(f.Kind);
        ReadByte(f1);
        ReadByte(f2);
        ReadColor(f.Color);
        ReadColor(f.InsideColor);
        ReadByte(f.Width);
        ReadByte(f.AfterImage);
        if (V(V26)) {
            ReadByte(f.Shown);
            EndValuesLine();
        } else {
            f.Shown = 1;
        }
        ReadByte(f.LabelPos);
        f.Label = MarkupToMemory(RestOfLine());
        EndValuesLine();
        f.LineStyle = 1;
        f.Pattern = 1;
        std::array<int, FigureVertexCount> v{};
        if (V(V22)) {
            f.LineStyle = f1;
            f.Pattern = f2;
            for (int& vertex : v) {
                vertex = ReadInt();
                if (vertex == 0)
                    break;
            }
            EndValuesLine();
        } else {
            v[0] = f1;
            v[1] = f2;
        }
        for (int i = 0; i < FigureVertexCount; ++i) {
            int vertex = v[static_cast<std::size_t>(i)];
            if (!V(V27))
                vertex = RenumberedOldObject(vertex);
            // A vertex of no object ends the list: figures never index beyond the objects.
            if (!IsFigureVertex(vertex))
                break;
            f.Vertices[i + 1] = static_cast<std::uint8_t>(vertex == OriginVertexCode ? OriginObject : vertex);
        }
        if (f.Pattern < 1 || f.Pattern > 8)
            f.Pattern = 1;
        if (f.Kind == 4) {
            f.Kind = FigureArrow;
            // An end alone stays first: the vertex list ends at its first empty one.
            if (f.Vertices[2] != 0)
                std::swap(f.Vertices[1], f.Vertices[2]);
        }
        figureColorsRead_ = true;
        return f;
    }

    void ReadParameters()
    {
        Next();
        const int n = ReadCount();
        for (int j = 1; j <= n && !AtSectionEnd(); ++j) {
            TParameter surplus;
            TRowState surplusRow;
            TParameter& p = j <= ParamCount ? DocumentTables.Params[j] : surplus;
            TRowState& row = j <= ParamCount ? PanelLayout.ParamRows[j] : surplusRow;
            ReadFloat(p.Value);
            ReadByte(p.Fixed);
            EndValuesLine();
            if (V(V21)) {
                ReadByte(p.Extra);
                ReadByte(p.AddStep);
                ReadFloat(p.Step);
                d_.ReadBool(row.Shown);
                row.Position = RowPlace(ReadInt(row.Position));
                EndValuesLine();
            }
        }
        long double step = 0.1L;
        std::uint8_t addStep = 1;
        ReadFloat(step);
        ReadByte(addStep);
        Options.ParamDelay = ReadInt(Options.ParamDelay);
        EndValuesLine();
        if (!V(V21)) {
            for (int j = 1; j <= ParamCount; ++j) {
                DocumentTables.Params[j].Step = step;
                DocumentTables.Params[j].AddStep = addStep;
            }
        }
        SkipToSeparator();
    }

    void ReadOptions()
    {
        TDocumentOptions& o = Options;
        Next();
        o.ThetaMode = 2;
        o.LogMode = 1;
        o.ScanWidth = 4;
        o.CapStyle = 1;
        o.DrawOnDrag = 0;
        o.DrawOnCalc = 1;
        o.ComplexMode = 0;
        o.AllowSqrtN = 0;
        o.AimgOfArea = 0;
        for (std::uint8_t* b : {&o.AngleMode, &o.ScanWidth, &o.LogMode, &o.ThetaMode, &o.AngleArea, &o.CapStyle,
                                &o.DrawOnDrag, &o.DrawOnCalc, &o.ComplexMode, &o.AllowSqrtN, &o.AimgOfArea})
            ReadByte(*b);
        EndValuesLine();
        EndValuesLine(); // caption
        o.ShowSync = 1;
        ReadByte(o.DrawMode);
        ReadByte(o.ShowSync);
        EndValuesLine();
        EndValuesLine();
        o.CanAImg = 1;
        ReadByte(o.AfterImageColorNo);
        ReadByte(o.CanAImg);
        EndValuesLine();
        EndValuesLine();
        ReadByte(o.CircleMode);
        EndValuesLine();
        SkipToSeparator();
    }

    void ReadAxis(ScaleSubT& axis, bool isX)
    {
        Next();      // "ScaleX" / "ScaleY"
        EndValuesLine(); // "Vlow,VHigh,label"
        axis.Vlow = ReadInt(axis.Vlow);
        axis.VHigh = ReadInt(axis.VHigh);
        QString caption = MarkupToMemory(RestOfLine());
        if (!isX)
            caption = caption.trimmed();
        if (!V(V21) && caption.isEmpty())
            caption = isX ? QStringLiteral("x") : QStringLiteral("y");
        axis.Caption = caption;
        axis.SetNameText();
        EndValuesLine();
        if (isX && V(V21)) {
            char16_t letter = axis.Letter().unicode();
            d_.ReadChar(letter);
            axis.SetLetter(QChar(letter));
            EndValuesLine();
        }
        EndValuesLine(); // flags caption
        ReadByte(axis.AxesVisible);
        ReadByte(axis.ScaleVisible);
        ReadByte(axis.ValueVisible);
        if (isX) {
            Options.DegreeFont = 0;
            ReadByte(Options.DegreeFont);
        }
        ReadByte(axis.GuideVisible);
        EndValuesLine();
        EndValuesLine();
        axis.Number = ReadInt(axis.Number);
        ReadFloat(axis.Base);
        axis.LInterval = ReadInt(axis.LInterval);
        EndValuesLine();
        EndValuesLine();
        long double high = axis.High;
        long double low = axis.Low;
        ReadFloat(high);
        ReadFloat(low);
        axis.SetBounds(low, high);
        EndValuesLine();
        SkipToSeparator();
    }

    // A formula read is brought to the current spelling and compiled. One
    // that does not compile keeps the text as read: its spelling may drop
    // what the scanner cannot read and mean something else when read again.
    void PrepareReadFormula(TKavirofunction& f, int mode, bool oldSpelling = false)
    {
        const QString read = f.Text;
        if (oldSpelling)
            ConvertLegacyExpression(f, mode, header_);
        else
            PrepareExpression(f, mode);
        if (f.Code.isEmpty())
            f.Text = read;
    }

    // The tools' formulas that the text did not hold keep their defaults,
    // compiled as read ones are: the text saved and read again holds them,
    // and must mean the same (a y-value row refers to its function).
    void PrepareToolFormulas()
    {
        TDocumentTables& t = DocumentTables;
        for (TKavirofunction& f : t.YvalueFunctions)
            if (f.Code.isEmpty())
                PrepareReadFormula(f, ModeFunction);
        for (TKavirofunction* f : {&t.YvalueX, &t.IntegralInterval.Lower, &t.IntegralInterval.Upper, &t.TableFormula})
            if (f->Code.isEmpty())
                PrepareReadFormula(*f, ModePlain);
    }

    void CompileFormulas()
    {
        TDocumentTables& t = DocumentTables;
        for (TKavirofunction& f : t.UserFunctions)
            PrepareReadFormula(f, ModeUserFunction, true);
        for (TEquationFunction& f : t.Functions)
            PrepareReadFormula(f.Func, ModeFunction, true);
        for (TEquationFunction& f : t.Relations)
            PrepareReadFormula(f.Func, ModeRelation, true);
        for (int k = 1; k <= PointCount; ++k) {
            TPointFunction& p = t.Points[k];
            PrepareReadFormula(p.X, k, true);
            PrepareReadFormula(p.Y, k, true);
            PrepareReadFormula(p.R, k, true);
            PrepareReadFormula(p.Low, ModePlain, true);
            PrepareReadFormula(p.High, ModePlain, true);
            if (!V(V26))
                p.Draggable = p.Draggable == 1 && (IsConstantExpression(p.X) || IsConstantExpression(p.Y)) ? 1 : 0;
            JoinPointTexts(p, PointTextDirection::Join);
            PrepareExpression(p.Pos, k);
        }
    }

    // The view; false when the text ends before its line is complete.
    bool ReadView()
    {
        if (!lastSkipFound_)
            return false;
        Next(); // "ScaleS"
        Next(); // the caption of its values
        const bool lineComplete = pos_ < lines_.size() - 1 || (pos_ == lines_.size() - 1 && lastLineEnded_);
        if (!lineComplete)
            return false;
        ScaleT& v = GraphScale;
        v.AxisOn = 0;
        Options.AxisType = 0;
        v.PolorNum = 12;
        Options.AreaFixed = 0;
        v.LetterFrac = 0;
        PanelLayout.ShowPosition = PanelLayout.ShowEquation = 0;
        ReadByte(v.SquareQ);
        ReadByte(Options.AreaRectify);
        ReadByte(v.PsMesh);
        ReadByte(v.AxisWidth);
        ProgramState.FontSize = ReadInt(ProgramState.FontSize);
        ReadByte(v.AxisOn);
        ReadByte(v.Letterposition);
        ReadByte(PanelLayout.ShowPosition);
        ReadByte(PanelLayout.ShowEquation);
        ReadByte(Options.AxisType);
        v.PolorNum = ScaleT::UsablePolorNum(ReadInt(v.PolorNum));
        ReadByte(Options.AreaFixed);
        ReadByte(v.LetterFrac);
        EndValuesLine();
        return true;
    }

    void ReadMarkedFormula(TKavirofunction& f)
    {
        ReadByte(f.Marker);
        f.Text = ToMemory(FormulaOf(RestOfLine()));
        EndValuesLine();
    }

    void ReadYvalueTool()
    {
        BeginSection();
        TKavirofunction& x = DocumentTables.YvalueX;
        if (V(V20)) {
            ReadMarkedFormula(x);
            PrepareReadFormula(x, ModePlain);
        } else {
            EndValuesLine();
        }
    }

    void ReadIntegralTool()
    {
        BeginSection();
        EndValuesLine(); // "Svalue Evalue sliceNo"
        Tinterval& in = DocumentTables.IntegralInterval;
        if (V(V20)) {
            ReadMarkedFormula(in.Lower);
            ReadMarkedFormula(in.Upper);
            ReadInt(); // the line's tag
            in.sliceNo = PartitionsOrDefault(ReadInt(0));
            EndValuesLine();
            PrepareReadFormula(in.Lower, ModePlain);
            PrepareReadFormula(in.Upper, ModePlain);
        } else {
            // Older files kept the limits' values only; they become the texts.
            ReadFloat(in.LowerValue.X);
            ReadFloat(in.UpperValue.X);
            in.sliceNo = PartitionsOrDefault(ReadInt(0));
            EndValuesLine();
            in.Lower.Text = FormatGeneral(in.LowerValue.X, 15, Separators.DecimalChar);
            in.Upper.Text = FormatGeneral(in.UpperValue.X, 15, Separators.DecimalChar);
            PrepareReadFormula(in.Lower, ModePlain);
            PrepareReadFormula(in.Upper, ModePlain);
        }
        EndValuesLine(); // "Dfuncno Efuncno AreaQ"
        in.Dfuncno = ReadInt(in.Dfuncno);
        in.Efuncno = ReadInt(in.Efuncno);
        ReadByte(in.AreaQ);
        EndValuesLine();
    }

    void ReadYvalueRows()
    {
        BeginSection();
        const int n = ReadCount();
        for (int i = 1; i <= std::min(n, YvalueRowCount) && !IsPastEnd(); ++i) {
            TKavirofunction& f = DocumentTables.YvalueFunctions[i];
            ReadFormulaLine(f);
            PrepareReadFormula(f, ModeFunction, true);
        }
    }

    void ReadPanels()
    {
        BeginSection();
        auto& panels = PanelLayout.Panels;
        if (V(V21)) {
            for (TPanelPlace& p : panels)
                p.Top = ReadInt(p.Top);
            for (TPanelPlace& p : panels)
                ReadByte(p.Visible);
        } else {
            for (int i : {1, 2, 4, 6, 5, 7})
                panels[i].Top = ReadInt(panels[i].Top);
            panels[PanelCurves].Top = panels[PanelPoints].Top;
            panels[PanelFigures].Top = PanelBelowAll;
            for (int i : {1, 2, 4, 6, 5, 7, 8, 3})
                ReadByte(panels[i].Visible);
            panels[PanelCurves].Visible = panels[PanelPoints].Visible;
            panels[PanelFigures].Visible = 0;
        }
        EndValuesLine();
    }

    void ReadNotes()
    {
        BeginSection();
        EndValuesLine(); // the caption of the style line
        TDocumentOptions& o = Options;
        ReadByte(o.PetaMemoStyle);
        ReadColor(o.PetaMemoColor);
        ReadByte(o.PetaMemoBGcolor);
        o.PetaMemoSize = ReadInt(o.PetaMemoSize);
        EndValuesLine();
        notesColorRead_ = true;
        NewDocumentLists();
        if (V(V23))
            Next(); // the empty line
        const int count = std::max(ReadInt(), 0);
        Next();
        QStringList& lines = DocumentTables.PetaMemoLines;
        for (int i = 0; i < count && !IsPastEnd(); ++i)
            lines.append(ConvertNoteLine(ReadWholeLine(), file_, memory_));
        if (!SkipToSeparator())
            return;
        const int stickers = ReadCount();
        for (int i = 1; i <= std::min(stickers, MaxStickers) && !AtSectionEnd(); ++i) {
            TStickerPlace& s = PanelLayout.StickerPlaces[i];
            s.Left = ReadInt(s.Left);
            s.Top = ReadInt(s.Top);
            ReadByte(s.OnConsole);
            EndValuesLine();
        }
    }

    void ReadTable()
    {
        BeginSection();
        EndValuesLine(); // "RowNo, ColumnNo"
        const int rows = std::max(ReadInt(), 0);
        const int columns = std::clamp(ReadInt(), 0, TableColumns);
        EndValuesLine();
        EndValuesLine(); // "Table Data"
        for (int i = 0; i < rows && !AtSectionEnd(); ++i) {
            const int r = ReadInt(-1);
            EndValuesLine();
            ReadCells(r, columns);
        }
        TKavirofunction& formula = DocumentTables.TableFormula;
        if (AtSectionEnd())
            return;
        formula.Text = ToMemory(FormulaOf(d_.Line));
        PrepareReadFormula(formula, ModePlain);
        ReadColumnWidths();
    }

    void ReadCells(int r, int columns)
    {
        const QStringList fields = d_.Line.split(u'\t');
        Next();
        if (r < 1 || r > TableRows)
            return;
        for (int c = 1; c <= columns && c < fields.size(); ++c) {
            TCell& cell = DocumentTables.Cells[r][c];
            cell.Text = ConvertCellText(fields[c].trimmed(), file_, memory_);
            int error = 0;
            cell.Value = StrToExtendedChecked(cell.Text, error);
            cell.Defined = error == 0 ? 1 : 0;
            if (error != 0)
                cell.Value = 0.0L;
        }
    }

    // The widths stand on the last line before the separator: files hold the
    // formula twice before them, and a line that is the formula's only copy
    // holds no widths.
    void ReadColumnWidths()
    {
        const qsizetype formulaLine = pos_;
        qsizetype last = formulaLine;
        while (last + 1 < lines_.size() && !lines_[last + 1].startsWith(SeparatorPrefix))
            ++last;
        while (pos_ < last)
            Next();
        if (last == formulaLine)
            return;
        for (int& width : DocumentTables.TableColWidths)
            width = ReadInt(width);
        Next();
    }

    void ReadSimpleMemo()
    {
        BeginSection();
        const int count = std::max(ReadInt(), 0);
        Next();
        QStringList& lines = DocumentTables.SimpleMemoLines;
        for (int i = 0; i < count && !IsPastEnd(); ++i)
            lines.append(ReadWholeLine());
    }

    void ConvertColorNumbers()
    {
        for (TColor* c : colorsRead_)
            *c = PaletteColor(*c);
        for (int k = 1; k <= PointCount; ++k) {
            if (!pointColorsRead_[static_cast<std::size_t>(k)])
                continue;
            TPointFunction& p = DocumentTables.Points[k];
            p.ColorNo1 = PaletteColor(p.ColorNo1);
            p.RColorNo1 = PaletteColor(p.RColorNo1);
            p.InsideColor = PaletteColor(p.InsideColor);
        }
        if (figureColorsRead_) {
            for (int s = 1; s <= Segments.Data.Count; ++s) {
                Tsegment& f = Segments.Data.Items[s];
                f.Color = PaletteColor(f.Color);
                f.InsideColor = PaletteColor(f.InsideColor);
            }
        }
        if (notesColorRead_)
            Options.PetaMemoColor = PaletteColor(Options.PetaMemoColor);
    }

    // A stored chain of references that runs in a circle would never end:
    // the first record of each circle found loses its code (it evaluates as
    // undefined) and the load goes on.
    // A circular record from a file loses its code, so it evaluates
    // undefined instead of recursing; the load goes on, with one message.
    static void BreakCircularReferences()
    {
        if (GiveCircularRecordsNoCode() > 0)
            ShowCircularReferenceMessage();
    }

    QStringList lines_;
    bool lastLineEnded_;
    TstringData d_;
    qsizetype pos_ = 0;
    bool lastSkipFound_ = false; // the last SkipToSeparator found one
    QString header_;
    std::array<bool, VersionCount> versions_{};
    TPunctuation file_;
    TPunctuation memory_;
    std::vector<TColor*> colorsRead_; // colour numbers of functions and relations read
    std::bitset<PointCount + 1> pointColorsRead_;
    bool figureColorsRead_ = false;
    bool notesColorRead_ = false;
};

// What the windows and the features with stores of their own do after a
// successful read; what a feature could not take is shown.
void FinishRead()
{
    TProjectHost& host = CurrentProjectHost();
    host.UpdateStretchButton();
    host.ArrangePanels();
    const std::vector<TDocumentError> errors = ReplaceDocumentInParticipants(DocumentTables.PetaMemoLines);
    for (const TDocumentError& e : errors)
        ShowMsgBox(e.Message, e.Kind, MsgOk);
}

} // namespace

void SetOriginObject()
{
    TPointFunction& o = DocumentTables.Points[OriginObject];
    MakeOriginPoint(o);
    o.Pos.Text = QStringLiteral("(0") + Separators.ListSepChar + QStringLiteral("0)");
    o.ColorNo1 = ColorWhite;
    o.Shown = 1;
    PrepareExpression(o.Pos, OriginObject);
    PrepareExpression(o.X, OriginObject);
    PrepareExpression(o.Y, OriginObject);
}

bool ReadProjectText(const TstringData& source, bool lastLineEnded)
{
    const TDocumentCopy before;
    ProjectReader reader(source, lastLineEnded);
    if (!reader.ReadUpToView()) {
        before.Restore();
        return false;
    }
    reader.ReadAfterView();
    FinishRead();
    return true;
}

bool IsReadableProjectText(const TstringData& source, bool lastLineEnded)
{
    const TDocumentCopy before;
    ProjectReader reader(source, lastLineEnded);
    const bool readable = reader.ReadUpToView();
    before.Restore();
    return readable;
}

bool ReadProject(const TstringData& source)
{
    return ReadProjectText(source, true);
}
