#include "engine/NumberFields.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "model/DocumentState.h"
#include "model/NumberText.h"
#include "model/Options.h"

bool ParseNumberText(QString& text, long double& x, bool showMessage)
{
    QString copy = text;
    if (copy.startsWith(u'='))
        copy.remove(0, 1);
    long double plain = 0.0L;
    if (ParseExtended(copy, Separators.DecimalChar, plain)) {
        x = plain;
        return true;
    }
    TKavirofunction scratch = BlankFunction;
    scratch.Text = copy;
    // A formula that leaves more than one value («2,5» typed where the
    // decimal point is ".") gets no code from the compiler, so it reads as
    // no number rather than quietly as 5.
    PrepareExpression(scratch, ModeFunction);
    const TValue v = EvaluateExpression(scratch, ValueUndefined(KindReal));
    const bool ok = v.Defined != 0;
    if (ok)
        x = v.X;
    else if (showMessage)
        ShowInvalidNumberMessage();
    text = FormatGeneral(x, 12, Separators.DecimalChar);
    return ok;
}

int FindPairComma(const QString& text)
{
    if (!text.startsWith(u'(') || !text.endsWith(u')'))
        return 0;
    int depth = 0;
    int comma = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            // The first "(" must close at the very end.
            if (--depth == 0 && i != text.size() - 1)
                return 0;
        } else if (depth == 1 && c == Separators.ListSepChar) {
            comma = i + 1;
        }
    }
    return depth == 0 ? comma : 0;
}

int SelectorBase(QString& text)
{
    text = text.trimmed();
    if (!text.startsWith(u'(') || !(text.endsWith(u".x") || text.endsWith(u".y")))
        return 0;
    const int close = static_cast<int>(text.size()) - 3; // the ")" before ".x"
    if (close < 1 || text.at(close) != u')')
        return 0;
    int depth = 0;
    for (int i = 0; i <= close; ++i) {
        if (text.at(i) == u'(')
            ++depth;
        else if (text.at(i) == u')' && --depth == 0)
            return i == close ? close + 1 : 0;
    }
    return 0;
}

namespace {

void JoinCoordinates(TPointFunction& p)
{
    QString& x = p.X.Text;
    QString& y = p.Y.Text;
    const int bx = SelectorBase(x);
    const int by = SelectorBase(y);
    // Only the base's own x and y join back into the base.
    if (bx > 0 && bx == by && x.left(bx) == y.left(by) && x.endsWith(u".x") && y.endsWith(u".y")) {
        p.Pos.Text = x.mid(1, bx - 2);
    } else if (!x.isEmpty() || !y.isEmpty()) {
        p.Pos.Text = u'(' + x + Separators.ListSepChar + y + u')';
    } else {
        p.Pos.Text.clear();
    }
}

void SplitPosition(TPointFunction& p)
{
    const QString pos = p.Pos.Text.trimmed();
    p.Pos.Text = pos;
    if (pos.isEmpty()) {
        p.X.Text.clear();
        p.Y.Text.clear();
        return;
    }
    const int c = FindPairComma(pos);
    if (c > 0) {
        p.X.Text = pos.mid(1, c - 2).trimmed();
        p.Y.Text = pos.mid(c, pos.size() - c - 1).trimmed();
    } else {
        p.X.Text = u'(' + pos + QStringLiteral(").x");
        p.Y.Text = u'(' + pos + QStringLiteral(").y");
    }
}

// Before 1.7 θ was written "Q"; a Q before x, y or r is the object's component.
void ThetaFromQ(QString& s)
{
    for (int i = 0; i < s.size(); ++i) {
        if (s.at(i) != u'Q')
            continue;
        const QChar next = i + 1 < s.size() ? s.at(i + 1) : QChar();
        if (next != u'x' && next != u'y' && next != u'r')
            s[i] = u'@';
    }
}

// Before 2.4 "pas" was path, and "Min" and "Max" were written capitalised.
void RenamedFunctions(QString& s)
{
    for (int i = 0; i + 2 < s.size(); ++i) {
        const QStringView next2 = QStringView(s).mid(i + 1, 2);
        if (s.at(i) == u'p' && next2 == u"as") {
            s.replace(i, 3, QStringLiteral("path"));
            i += 3; // past the inserted text
        } else if (s.at(i) == u'M' && (next2 == u"in" || next2 == u"ax")) {
            s[i] = u'm';
        }
    }
}

} // namespace

void JoinPointTexts(TPointFunction& object, PointTextDirection direction)
{
    if (direction == PointTextDirection::Join)
        JoinCoordinates(object);
    else
        SplitPosition(object);
}

bool ConvertLegacyExpression(TKavirofunction& record, int mode, const QString& header)
{
    if (header < QStringLiteral("Kaviro/win 1.7"))
        ThetaFromQ(record.Text);
    if (header < QStringLiteral("Kaviro/win 2.4"))
        RenamedFunctions(record.Text);
    return PrepareExpression(record, mode);
}
