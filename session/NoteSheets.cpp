#include "session/NoteSheets.h"

#include "model/DocumentState.h"
#include "model/Options.h"

#include <QStringView>

TNoteEditorState NoteEditorState;

namespace {

bool IsScriptLine(const QString& line)
{
    return line.startsWith(u'#');
}

bool IsBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

// Each "/" that does not begin a "//", with one blank after it, becomes an
// empty line.
QString SlashesToEmptyLines(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'/') {
            out += c;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'/') {
            out += QStringLiteral("//");
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u' ')
            ++i;
        out += QStringLiteral("\n\n");
    }
    return out;
}

// Each part in angle brackets becomes one blank.
QString AngleWordsToBlanks(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype close = text[i] == u'<' ? text.indexOf(u'>', i + 1) : -1;
        if (close < 0) {
            out += text[i];
            continue;
        }
        out += u' ';
        i = close;
    }
    return out;
}

TScriptSubmenu Submenu(const char16_t* caption, std::initializer_list<QString> items)
{
    TScriptSubmenu submenu{QString::fromUtf16(caption), {}};
    for (const QString& item : items)
        submenu.Items.push_back({item});
    return submenu;
}

QString Fill(const char16_t* scriptTemplate, std::initializer_list<const char16_t*> words)
{
    QStringList list;
    for (const char16_t* w : words)
        list.append(QString::fromUtf16(w));
    return FillTemplate(QString::fromUtf16(scriptTemplate), list);
}

QString Fixed(const char16_t* caption)
{
    return QString::fromUtf16(caption);
}

QStringList WithoutTrailingBlankLines(QStringList lines)
{
    while (!lines.isEmpty() && IsBlank(lines.last()))
        lines.removeLast();
    return lines;
}

} // namespace

QStringList StickerSheetLines(const QStringList& noteLines)
{
    QStringList lines;
    for (const QString& line : noteLines)
        if (!IsScriptLine(line))
            lines.append(line);
    return WithoutTrailingBlankLines(lines);
}

QStringList ScriptSheetLines(const QStringList& noteLines)
{
    QStringList lines;
    bool apart = false;
    for (const QString& line : noteLines) {
        if (!IsScriptLine(line)) {
            apart = true;
            continue;
        }
        if (apart && !lines.isEmpty())
            lines.append(QString());
        apart = false;
        lines.append(line.mid(1));
    }
    return lines;
}

TNoteSheetTexts FillNoteSheets()
{
    const TDocumentTables& t = DocumentTables;
    return {SheetText(StickerSheetLines(t.PetaMemoLines)), SheetText(ScriptSheetLines(t.PetaMemoLines)),
            SheetText(t.SimpleMemoLines)};
}

QStringList AssembleNoteLines(const QStringList& stickerLines, const QStringList& scriptLines)
{
    QStringList lines = stickerLines;
    for (const QString& line : scriptLines)
        lines.append(IsBlank(line) || IsScriptLine(line) ? line : u'#' + line);
    return lines;
}

QStringList NoteLinesFromSheets(const TNoteSheetTexts& sheets)
{
    // Blank lines at the sticker sheet's end show nothing, and the sheet
    // never shows them: a new sticker begun and left empty is no change.
    const QStringList stickerLines = WithoutTrailingBlankLines(SheetLines(sheets.Stickers));
    const TNoteSheetTexts filled = FillNoteSheets();
    if (SheetText(stickerLines) == filled.Stickers && sheets.Scripts == filled.Scripts)
        return DocumentTables.PetaMemoLines;
    return AssembleNoteLines(stickerLines, SheetLines(sheets.Scripts));
}

QStringList SheetLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    return text.split(u'\n');
}

QString SheetText(const QStringList& lines)
{
    return lines.join(u'\n');
}

TStickerStyle CurrentStickerStyle()
{
    const TDocumentOptions& o = Options;
    return {o.PetaMemoStyle, o.PetaMemoColor, o.PetaMemoBGcolor, o.PetaMemoSize};
}

int StickerSizeFromText(const QString& text, int current)
{
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    return ok && size > 4 ? size : current;
}

QString FillTemplate(const QString& scriptTemplate, const QStringList& words)
{
    QString out;
    qsizetype next = 0;
    for (const QChar c : scriptTemplate) {
        if (c == u'*' && next < words.size())
            out += u'<' + words[next++] + u'>';
        else
            out += c;
    }
    return out;
}

QString ScriptInsertText(const QString& caption)
{
    QString text = caption;
    const qsizetype ampersand = text.indexOf(u'&');
    if (ampersand >= 0)
        text.remove(ampersand, 1);
    text = AngleWordsToBlanks(text);
    text.replace(QStringLiteral("  "), QStringLiteral(" "));
    text = SlashesToEmptyLines(text);
    text.replace(QStringLiteral("For"), QStringLiteral("For   :=   to    step"));
    text.replace(QStringLiteral("If"), QStringLiteral("If "));
    text.replace(QStringLiteral("then"), QStringLiteral("then "));
    return text + u'\n';
}

const std::vector<TScriptSubmenu>& ScriptMenuEntries()
{
    static const std::vector<TScriptSubmenu> entries = {
        Submenu(u"Assinalar", {Fill(u"* := *", {u"Parâmetro", u"Expressão"}),
                               Fill(u"* := *", {u"objeto", u"Expressão"}),
                               Fill(u"Inc(*,*)", {u"Parâmetro", u"Expressão"}),
                               Fill(u"Dec(*,*)", {u"Parâmetro", u"Expressão"})}),
        Submenu(u"Condição", {Fixed(u"If then"), Fixed(u"If then / endif"), Fixed(u"If then else"),
                              Fixed(u"If then / else / endif")}),
        Submenu(u"Loop", {Fixed(u"For / next"), Fixed(u"While / wend")}),
        Submenu(u"Calcular&&Desenhar", {Fixed(u"Draw"), Fixed(u"OverDraw"), Fixed(u"Calc"), Fixed(u"Refresh"),
                                        Fixed(u"RefreshSticker"),
                                        Fill(u"SetArea(*,*,*,*)", {u"esquerda", u"acima", u"direita", u"abaixo"})}),
        Submenu(u"Traço", {Fixed(u"ClrAImg"), Fill(u"ClrAImg(*)", {u"objetos"}), Fixed(u"SetAImg"),
                           Fixed(u"AImgOn"), Fixed(u"AImgOff")}),
        Submenu(u"Mostrar&&Côr", {Fill(u"ShowObj(*)", {u"objetos"}), Fill(u"HideObj(*)", {u"objetos"}),
                                  Fill(u"InvShowObj(*)", {u"objetos"}), Fill(u"SetColor(*,*)", {u"objeto", u"côr"}),
                                  Fill(u"SetLineColor(*,*)", {u"objeto", u"côr"}),
                                  Fill(u"SetInsideColor(*,*)", {u"objeto", u"côr"})}),
        Submenu(u"Função de Côr", {Fill(u"rgb(*,*,*)", {u"Vermelho", u"Verde", u"Azul"}),
                                   Fill(u"hsl(*,*,*)", {u"hue", u"saturação", u"claridade"})}),
        Submenu(u"Executar",
                {Fill(u"on * change", {u"elementos"}),
                 Fill(u"Call(*,*,*,*,*)", {u"nome subscrito", u"argumento", u"argumento", u"argumento", u"argumento"}),
                 Fill(u"Settime(*) / wait", {u"mili segundo"}), Fill(u"Wait(*)", {u"mili segundo"}),
                 Fixed(u"Pause"), Fill(u"Pause(*)", {u"mensagem"}), Fixed(u"End")}),
        Submenu(u"Fazer Som",
                {Fixed(u"Play"),
                 Fill(u"Play(*,*,*,*)", {u"Parâmetro", u"tempo do início", u"tempo do término", u"Expressão"}),
                 Fill(u"PlayAfter(*,*,*,*)", {u"Parâmetro", u"tempo do início", u"tempo do término", u"Expressão"}),
                 Fill(u"PlaySync(*,*,*,*)", {u"Parâmetro", u"tempo do início", u"tempo do término", u"Expressão"}),
                 Fill(u"SetSampleRate(*)", {u"taxa do exemplo"})}),
        Submenu(u"Table", {Fill(u"Cells(*,*) := *", {u"reta", u"coluna", u"Expressão"}),
                           Fill(u"CellsP(*,*) := *", {u"reta", u"coluna", u"Expressão"}), Fixed(u"ClrAllCells")}),
        Submenu(u"mais", {Fill(u"// *", {u"Anotação"})}),
    };
    return entries;
}
