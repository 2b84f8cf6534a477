// The writer of the project text, section by section in file order.
#include "session/FilePunctuation.h"
#include "session/PanelLayout.h"
#include "session/ProjectFile.h"
#include "session/ProjectSections.h"

#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"

#include <span>

using namespace project_text;

namespace {

class ProjectWriter {
public:
    explicit ProjectWriter(TstringData& target)
        : d_(target)
        , memory_(DocumentPunctuation())
    {
    }

    void Write()
    {
        d_.Clear();
        d_.WriteStr(ProjectHeader);
        d_.WriteStr(SecondLine);
        WriteBackground();
        WriteUserFunctions();
        WriteEquations(QStringLiteral("y = f(x)"), DocumentTables.Functions, PanelLayout.FunctionRows, false);
        WriteEquations(QStringLiteral("0 = f(x,y)"), DocumentTables.Relations, PanelLayout.RelationRows, true);
        WriteObjects();
        WriteFigures();
        WriteParameters();
        WriteOptions();
        WriteAxis(GraphScale.XAxis, true);
        WriteAxis(GraphScale.YAxis, false);
        WriteView();
        WriteTools();
        WritePanels();
        WriteNotes();
        WriteTable();
        WriteSimpleMemo();
    }

private:
    void Section(const QString& caption)
    {
        d_.WriteStr(SectionSeparator);
        d_.WriteStr(caption);
    }
    void Caption(const QString& caption) { d_.WriteStr(caption); }

    void AddInt(int i) { d_.AddInt(i); }
    void AddColor(TColor c) { d_.AddInt(static_cast<int>(c)); }
    void AddFloat(long double x) { d_.AddFloat(x, FilePunctuation.Decimal); }
    void AddFormulaText(const QString& text) { d_.AddField(ToFile(text)); }
    // A formula as the reader takes it back (up to a tab, without blanks
    // around it), so that a second save writes what the first did.
    QString ToFile(const QString& formula) const
    {
        return ConvertFormulaText(formula.section(u'\t', 0, 0).trimmed(), memory_, FilePunctuation);
    }
    // An expression line: the text with its special characters spelled out.
    void WriteExpression(const TKavirofunction& f) { d_.WriteStr(EncodeSpecialChars(ToFile(f.Text))); }
    void WriteMarkup(const QString& text) { d_.WriteStr(ConvertMarkupText(text, memory_, FilePunctuation)); }

    // [n p1 .. pn s1 .. sn] for the first n rows.
    void WriteRows(std::span<const TRowState> rows, int n)
    {
        AddInt(n);
        for (int i = 0; i < n; ++i)
            AddInt(rows[static_cast<std::size_t>(i)].Position);
        for (int i = 0; i < n; ++i)
            d_.AddBool(rows[static_cast<std::size_t>(i)].Shown != 0);
        d_.EndLine();
    }

    void WriteBackground()
    {
        Section(QStringLiteral("BGstretchOn BGfile"));
        AddInt(Options.BGstretchOn ? Options.BGMode : 0);
        d_.AddField(ProjectFile.BGfile.isEmpty() ? QString() : ProjectFile.BGfile.section(u'/', -1));
        d_.EndLine();
    }

    void WriteUserFunctions()
    {
        Section(QStringLiteral("UserFunction"));
        const auto& slots = DocumentTables.UserFunctions;
        int n = 0;
        for (int i = 1; i <= UserFunctionCount; ++i)
            if (!slots[i].Text.isEmpty())
                n = i;
        WriteRows(PanelLayout.UserFunctionRows, n);
        for (int i = 1; i <= n; ++i)
            WriteExpression(slots[i]);
    }

    template <class Table>
    static int HighestUsed(const Table& table)
    {
        int n = 0;
        for (int i = Table::Low; i <= Table::High; ++i)
            if (!table[i].Func.Text.isEmpty())
                n = i;
        return n;
    }

    // Functions and relations: rows, then per slot its expression and style.
    template <class Table>
    void WriteEquations(const QString& caption, const Table& slots, std::span<const TRowState> rows, bool relations)
    {
        Section(caption);
        const int n = HighestUsed(slots);
        WriteRows(rows, n);
        for (int i = 1; i <= n; ++i) {
            const TEquationFunction& f = slots[i];
            WriteExpression(f.Func);
            AddInt(f.AfterImage);
            AddColor(f.Color);
            AddInt(f.Width);
            if (relations) {
                AddInt(f.AutoCalc);
                AddInt(f.Pattern);
            }
            AddInt(f.Visible);
            if (relations)
                AddInt(f.Border);
            AddInt(f.LineStyle);
            d_.EndLine();
        }
    }

    void WriteObjects()
    {
        Section(QStringLiteral("Point"));
        const auto& points = DocumentTables.Points;
        int n = 0;
        for (int i = 1; i <= PointCount; ++i)
            if (points[i].Kind != ObjectEmpty)
                n = i;
        WriteRows(PanelLayout.PointRows, n);
        for (int i = 1; i <= n; ++i)
            WriteObject(i, points[i]);
    }

    void WriteObject(int i, const TPointFunction& p)
    {
        d_.WriteStr(QString(PointLetter(i)));
        AddInt(p.Kind);
        AddInt(p.LabelPos);
        AddInt(p.Dimension);
        d_.EndLine();
        if (p.Kind == ObjectEmpty)
            return;
        WriteMarkup(p.Label);
        WriteExpression(p.X);
        WriteExpression(p.Y);
        // An empty radius reads back as "0"; written so, a second save is the same.
        if (ToFile(p.R.Text).isEmpty())
            d_.WriteStr(QStringLiteral("0"));
        else
            WriteExpression(p.R);
        WriteExpression(p.Low);
        WriteExpression(p.High);
        d_.AddField(QString(QChar(p.ParamChar)));
        AddFloat(p.ParamStep);
        d_.EndLine();
        AddInt(p.PointAImg);
        AddInt(p.RAImg);
        d_.EndLine();
        AddColor(p.ColorNo1);
        AddColor(p.RColorNo1);
        AddColor(p.InsideColor);
        AddInt(p.Shown);
        AddInt(p.PointStyle);
        AddInt(p.Draggable);
        AddInt(p.Pattern);
        AddInt(p.LineStyle);
        AddInt(p.FigType);
        AddInt(p.Sync);
        d_.EndLine();
        AddInt(p.Width);
        AddInt(p.LocusWidth);
        AddInt(p.RWidth);
        d_.EndLine();
    }

    void WriteFigures()
    {
        Section(QStringLiteral("Segments"));
        const TSegmentData& data = Segments.Data;
        d_.WriteInt(data.Count);
        for (int s = 1; s <= data.Count; ++s) {
            const Tsegment& f = data.Items[s];
            AddInt(f.Kind);
            AddInt(f.LineStyle);
            AddInt(f.Pattern);
            AddColor(f.Color);
            AddColor(f.InsideColor);
            AddInt(f.Width);
            AddInt(f.AfterImage);
            AddInt(f.Shown);
            d_.EndLine();
            AddInt(f.LabelPos);
            d_.AddField(ConvertMarkupText(f.Label, memory_, FilePunctuation));
            d_.EndLine();
            for (int v = 1; v <= FigureVertexCount; ++v)
                AddInt(f.Vertices[v] == OriginObject ? OriginVertexCode : f.Vertices[v]);
            d_.EndLine();
        }
    }

    void WriteParameters()
    {
        Section(QStringLiteral("paramater"));
        d_.WriteInt(ParamCount);
        for (int j = 1; j <= ParamCount; ++j) {
            const TParameter& p = DocumentTables.Params[j];
            AddFloat(p.Value);
            AddInt(p.Fixed);
            d_.EndLine();
            AddInt(p.Extra);
            AddInt(p.AddStep);
            AddFloat(p.Step);
            AddInt(PanelLayout.ParamRows[j].Shown);
            AddInt(PanelLayout.ParamRows[j].Position);
            d_.EndLine();
        }
        AddInt(1);
        AddInt(1);
        AddInt(Options.ParamDelay);
        d_.EndLine();
    }

    void WriteOptions()
    {
        const TDocumentOptions& o = Options;
        Section(QStringLiteral("KakuMode ScanWidth LogMode ThetaMode AreaMode capStyle"));
        for (int v : {o.AngleMode, o.ScanWidth, o.LogMode, o.ThetaMode, o.AngleArea, o.CapStyle, o.DrawOnDrag,
                      o.DrawOnCalc, o.ComplexMode, o.AllowSqrtN, o.AimgOfArea})
            AddInt(v);
        d_.EndLine();
        Caption(QStringLiteral("DrawMode SegmentShowSync"));
        AddInt(o.DrawMode);
        AddInt(o.ShowSync);
        d_.EndLine();
        Caption(QStringLiteral("AfterImageColorNo, CanAImg"));
        AddInt(o.AfterImageColorNo);
        AddInt(o.CanAImg);
        d_.EndLine();
        Caption(QStringLiteral("circleMode"));
        d_.WriteInt(o.CircleMode);
    }

    void WriteAxis(const ScaleSubT& axis, bool isX)
    {
        Section(isX ? QStringLiteral("ScaleX") : QStringLiteral("ScaleY"));
        Caption(QStringLiteral("Vlow,VHigh,label"));
        AddInt(axis.Vlow);
        AddInt(axis.VHigh);
        d_.AddField(ConvertMarkupText(axis.Caption, memory_, FilePunctuation));
        d_.EndLine();
        if (isX) {
            d_.WriteStr(QString(axis.Letter()));
            Caption(QStringLiteral("AxesVisible,ScaleVisible,Svaluevisible,AddDegreeLetter,ScaleGuidevisible"));
            for (int v : {axis.AxesVisible, axis.ScaleVisible, axis.ValueVisible, Options.DegreeFont, axis.GuideVisible})
                AddInt(v);
        } else {
            Caption(QStringLiteral("AxesVisible,ScaleVisible,Svaluevisible,ScaleGuidevisible"));
            for (int v : {axis.AxesVisible, axis.ScaleVisible, axis.ValueVisible, axis.GuideVisible})
                AddInt(v);
        }
        d_.EndLine();
        Caption(QStringLiteral("NUmber,Base,Linterval"));
        AddInt(axis.Number);
        AddFloat(axis.Base);
        AddInt(axis.LInterval);
        d_.EndLine();
        Caption(QStringLiteral("High,Low"));
        // The range exactly as the view holds it, so that it reads back the same.
        d_.AddExactFloat(axis.High, FilePunctuation.Decimal);
        d_.AddExactFloat(axis.Low, FilePunctuation.Decimal);
        d_.EndLine();
    }

    void WriteView()
    {
        const ScaleT& v = GraphScale;
        Section(QStringLiteral("ScaleS"));
        Caption(QStringLiteral(
            "SquareQ AreaRectify PsMesh AxisWidth FontSize AxisOn letterCenterShowPOsition ShowEquation AxisType PolorNum Areafixed"));
        for (int x : {int(v.SquareQ), int(Options.AreaRectify), int(v.PsMesh), int(v.AxisWidth), ProgramState.FontSize,
                      int(v.AxisOn), int(v.Letterposition), int(PanelLayout.ShowPosition), int(PanelLayout.ShowEquation),
                      int(Options.AxisType), v.PolorNum, int(Options.AreaFixed), int(v.LetterFrac)})
            AddInt(x);
        d_.EndLine();
    }

    void WriteMarkedFormula(const TKavirofunction& f)
    {
        AddInt(f.Marker);
        AddFormulaText(f.Text);
        d_.EndLine();
    }

    void WriteTools()
    {
        const TDocumentTables& t = DocumentTables;
        Section(QStringLiteral("Yvalue"));
        WriteMarkedFormula(t.YvalueX);
        Section(QStringLiteral("Iinterval"));
        Caption(QStringLiteral("Svalue Evalue sliceNo"));
        const Tinterval& in = t.IntegralInterval;
        WriteMarkedFormula(in.Lower);
        WriteMarkedFormula(in.Upper);
        AddInt(IntegralLineTag);
        AddInt(in.sliceNo);
        d_.EndLine();
        Caption(QStringLiteral("Dfuncno Efuncno AreaQ"));
        AddInt(in.Dfuncno);
        AddInt(in.Efuncno);
        AddInt(in.AreaQ);
        d_.EndLine();
        Section(QStringLiteral("Yvalue Function List"));
        d_.WriteInt(YvalueRowCount);
        for (int i = 1; i <= YvalueRowCount; ++i)
            WriteExpression(t.YvalueFunctions[i]);
    }

    void WritePanels()
    {
        Section(QStringLiteral("Panel Position"));
        for (int i = 1; i <= PanelCount; ++i)
            AddInt(PanelLayout.Panels[i].Top);
        for (int i = 1; i <= PanelCount; ++i)
            AddInt(PanelLayout.Panels[i].Visible);
        d_.EndLine();
        d_.WriteInt(1);
    }

    void WriteNotes()
    {
        const TDocumentOptions& o = Options;
        Section(QStringLiteral("PetaMEMO SECTION"));
        Caption(QStringLiteral("Style, Color, BGcolor , Size, PositionX, positionY"));
        for (int v : {int(o.PetaMemoStyle), int(o.PetaMemoColor), int(o.PetaMemoBGcolor), o.PetaMemoSize, 0, 0, 0})
            AddInt(v);
        d_.EndLine();
        d_.WriteStr(QString());
        const QStringList& lines = DocumentTables.PetaMemoLines;
        d_.WriteInt(static_cast<int>(lines.size()));
        for (const QString& line : lines)
            d_.WriteStr(ConvertNoteLine(line, memory_, FilePunctuation));
        d_.WriteStr(SectionSeparator);
        d_.WriteInt(MaxStickers);
        for (const TStickerPlace& s : PanelLayout.StickerPlaces) {
            AddInt(s.Left);
            AddInt(s.Top);
            AddInt(s.OnConsole);
            d_.EndLine();
        }
    }

    static bool IsRowUsed(const TCellRow& row)
    {
        for (int c = 1; c <= TableColumns; ++c)
            if (!row[c].Text.isEmpty())
                return true;
        return false;
    }

    void WriteTable()
    {
        const TDocumentTables& t = DocumentTables;
        Section(QStringLiteral("Table SECTION"));
        Caption(QStringLiteral("RowNo, ColumnNo"));
        int used = 0;
        for (int r = 1; r <= TableRows; ++r)
            used += IsRowUsed(t.Cells[r]) ? 1 : 0;
        AddInt(used);
        AddInt(TableColumns);
        d_.EndLine();
        Caption(QStringLiteral("Table Data"));
        for (int r = 1; r <= TableRows; ++r) {
            if (!IsRowUsed(t.Cells[r]))
                continue;
            d_.WriteInt(r);
            QString line = QStringLiteral("data");
            for (int c = 1; c <= TableColumns; ++c)
                line += u'\t' + ConvertCellText(t.Cells[r][c].Text, memory_, FilePunctuation);
            d_.WriteStr(line);
        }
        // The formula twice, as it always was: older readers take the first.
        d_.WriteStr(ToFile(t.TableFormula.Text));
        WriteExpression(t.TableFormula);
        for (int c = 1; c <= TableColumns; ++c)
            AddInt(t.TableColWidths[c]);
        d_.EndLine();
    }

    void WriteSimpleMemo()
    {
        Section(QStringLiteral("SimpleMemo SECTION"));
        const QStringList& lines = DocumentTables.SimpleMemoLines;
        d_.WriteInt(static_cast<int>(lines.size()));
        for (const QString& line : lines)
            d_.WriteStr(line);
        d_.WriteStr(SectionSeparator);
    }

    TstringData& d_;
    TPunctuation memory_; // the punctuation formulas are typed with
};

} // namespace

void WriteProject(TstringData& target)
{
    ProjectWriter(target).Write();
}
