// Only model/ and session/ (and script/) write the document: its tables
// (DocumentTables), its options (Options) and its figures (Segments), and
// only they take undo points. Widgets call the session; evaluation and
// drawing read. This test reads the sources of every other library and
// finds each write, by assignment, by a mutable reference, by a changing
// call, and fails on any that is not one of the listed exceptions. An
// exception that no longer matches anything fails too, so that it goes
// from the list when its reason does.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <vector>

namespace {

// The folders that may write the document.
const QStringList WritingFolders = {QStringLiteral("model/"), QStringLiteral("session/"), QStringLiteral("script/")};
// The library folders whose sources are read.
const QStringList ReadFolders = {
    QStringLiteral("platform"), QStringLiteral("engine"), QStringLiteral("render"), QStringLiteral("dialogs"),
    QStringLiteral("notes"),    QStringLiteral("windows"), QStringLiteral("app"),   QStringLiteral("tools"),
};

struct TException {
    const char* File;     // a source path from the tree's root
    const char* Fragment; // every excepted line of the file holds it
    const char* Reason;
};

const TException Exceptions[] = {
    {"engine/References.cpp", "TDocumentTables& t = DocumentTables",
     "GiveCircularRecordsNoCode: a document just read loses the code of records that refer in a circle"},
    {"render/plot/Axes.cpp", "Options.MeshStyle",
     "the grid pen of a printed or exported picture, put back on every way out"},
    {"render/scene/Printing.cpp", "Options.MeshStyle",
     "the grid pen of a printed picture, put back on every way out"},
    {"render/scene/SceneToMetafile.cpp", "Options.MeshStyle",
     "the grid pen of an exported picture, put back on every way out"},
};

const QString Document = QStringLiteral("(DocumentTables|Options|Segments)");

// Every way a line of code changes the document or takes an undo point.
const std::vector<QRegularExpression>& WritePatterns()
{
    static const std::vector<QRegularExpression> patterns = [] {
        const QStringList texts = {
            // An assignment, compound assignment, increment or decrement.
            QStringLiteral(R"(\b%1\.[\]\[A-Za-z0-9_.>()-]*\s*([-+*/|&^]?=[^=]|\+\+|--))").arg(Document),
            QStringLiteral(R"((\+\+|--)\s*%1\.)").arg(Document),
            // A call that changes it.
            QStringLiteral(R"(\bSegments\.(Append|Remove|Clear|Reset|CopyStates|TakeTraceColours)\s*\()"),
            QStringLiteral(R"(\b%1\.[\]\[\w.]*\.(clear|append|push_back|resize|fill|swap|insert|erase|removeAt|)"
                           R"(prepend|replace|Reset)\s*\()")
                .arg(Document),
            QStringLiteral(R"(\bswap\s*\(\s*%1\b)").arg(Document),
            // An undo point.
            QStringLiteral(R"(\bSaveUndoPoint\s*\()"),
        };
        std::vector<QRegularExpression> compiled;
        for (const QString& t : texts)
            compiled.emplace_back(t);
        return compiled;
    }();
    return patterns;
}

// The code of a line without its comment.
QString CodeOf(const QString& line)
{
    const qsizetype comment = line.indexOf(QStringLiteral("//"));
    return (comment < 0 ? line : line.left(comment)).trimmed();
}

// A reference or pointer to any part of the document, or a parameter that
// takes one, that is not const: writes may go through it.
bool BindsMutably(const QString& code)
{
    static const QRegularExpression bound(
        QStringLiteral(R"([&*]\s*\w+\s*[={]\s*&?\s*%1\b)").arg(Document));
    static const QRegularExpression parameter(QStringLiteral(R"(\b(TDocumentTables|TDocumentOptions|TSegments)\s*&)"));
    static const QRegularExpression constant(QStringLiteral(R"(\bconst\b)"));
    for (const QRegularExpression* p : {&bound, &parameter}) {
        for (auto it = p->globalMatch(code); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const qsizetype end = p == &bound ? m.capturedStart() : m.capturedEnd();
            // The declaration the match belongs to begins after the last
            // bracket, comma or semicolon before it.
            qsizetype begin = end;
            while (begin > 0 && !QStringLiteral("(,;{").contains(code[begin - 1]))
                --begin;
            if (!constant.match(code.mid(begin, end - begin)).hasMatch())
                return true;
        }
    }
    return false;
}

bool WritesTheDocument(const QString& line)
{
    const QString code = CodeOf(line);
    if (code.isEmpty() || code.startsWith(u'*') || code.startsWith(QStringLiteral("/*")))
        return false;
    for (const QRegularExpression& p : WritePatterns())
        if (p.match(code).hasMatch())
            return true;
    return BindsMutably(code);
}

struct TWrite {
    QString File;
    int Line = 0;
    QString Text;
};

std::vector<TWrite> WritesOutsideTheWriters()
{
    std::vector<TWrite> writes;
    const QString root = QStringLiteral(KAVIRO_SOURCE_DIR "/");
    for (const QString& folder : ReadFolders) {
        QDirIterator it(root + folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = path.mid(root.size());
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
                continue;
            const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i)
                if (WritesTheDocument(lines[i]))
                    writes.push_back({relative, static_cast<int>(i + 1), lines[i].trimmed()});
        }
    }
    return writes;
}

bool Excepted(const TWrite& w, const TException& e)
{
    return w.File == QString::fromUtf8(e.File) && w.Text.contains(QString::fromUtf8(e.Fragment));
}

TEST(DocumentWriters, EveryKindOfWriteIsFound)
{
    struct Case {
        const char* Line;
        bool Write;
    };
    const Case cases[] = {
        {"DocumentTables.Params[j].Fixed = down ? 1 : 0;", true},
        {"Options.CanAImg = on ? 1 : 0;", true},
        {"Segments.Data.Items[s] = figure;", true},
        {"doc->Options.X += 2;", true},
        {"DocumentTables.Params[0].Value++;", true},
        {"++Options.ParamDelay;", true},
        {"Options.Flags |= 4;", true},
        {"TPointFunction& entry = DocumentTables.Points[n];", true},
        {"TDocumentTables& doc = DocumentTables;", true},
        {"void Fill(TSegments& figures);", true},
        {"auto* p = &DocumentTables.Params[1];", true},
        {"Segments.Append(k1, k2, c, w, s);", true},
        {"Segments.CopyStates(record.States);", true},
        {"DocumentTables.PetaMemoLines.clear();", true},
        {"std::swap(DocumentTables.Params, saved);", true},
        {"SaveUndoPoint();", true},
        // Reading is allowed.
        {"if (Options.BGshown == 0)", false},
        {"const TPointFunction& p = DocumentTables.Points[k];", false},
        {"const TDocumentTables& doc = DocumentTables;", false},
        {"const long double& y = DocumentTables.Params[0].Value;", false},
        {"void Draw(const TSegments& figures, TCanvas& canvas);", false},
        {"void Draw(const TCanvas& canvas, TSegments& figures);", true},
        {"x = DocumentTables.Params[1].Value;", false},
        {"return Options.MeshStyle >= 2;", false},
        {"Segments.GetItem(s)", false},
        {"// Options.CanAImg = 1 in a comment", false},
        {"ProgramOptions.Width = 3;", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WritesTheDocument(QString::fromUtf8(c.Line)), c.Write) << c.Line;
}

TEST(DocumentWriters, OnlyTheModelAndTheSessionWriteTheDocument)
{
    const std::vector<TWrite> writes = WritesOutsideTheWriters();
    ASSERT_FALSE(writes.empty()) << "no sources read from " KAVIRO_SOURCE_DIR;
    std::vector<int> used(std::size(Exceptions), 0);
    for (const TWrite& w : writes) {
        bool excepted = false;
        for (size_t e = 0; e < std::size(Exceptions); ++e)
            if (Excepted(w, Exceptions[e])) {
                ++used[e];
                excepted = true;
            }
        EXPECT_TRUE(excepted) << w.File.toStdString() << ':' << w.Line << ": writes the document outside "
                              << WritingFolders.join(QStringLiteral(", ")).toStdString() << ": "
                              << w.Text.toStdString();
    }
    for (size_t e = 0; e < std::size(Exceptions); ++e)
        EXPECT_GT(used[e], 0) << "the exception for " << Exceptions[e].File << " (" << Exceptions[e].Reason
                              << ") no longer matches anything: drop it";
}

} // namespace
