#include "model/ScriptStore.h"

Tmacrocommand MacroCommands;

void TMacroCommandsub::Clear()
{
    *this = TMacroCommandsub{};
}

Tlineset& TMacroCommandsub::SetLineset(int index, int sourceLine, const std::vector<TKavirofunction>& args,
                                       const QString& text, int target, int code)
{
    if (index >= LinesetCount())
        Sets.resize(static_cast<std::size_t>(index) + 1);
    Tlineset& set = Sets[static_cast<std::size_t>(index)];
    set.SourceLine = sourceLine;
    set.Args = args;
    set.Text = text;
    set.Target = target;
    set.Code = code;
    set.Figures.clear();
    return set;
}

void Tmacrocommand::Reset()
{
    Last = -1;
    for (TMacroCommandsub& script : Items)
        script.Clear();
}

void Tmacrocommand::Add(const QString& name, const QStringList& lines)
{
    if (Last >= MaxScripts - 1)
        return;
    ++Last;
    TMacroCommandsub& script = Items[static_cast<std::size_t>(Last)];
    script.Clear();
    script.Name = name;
    script.Lines = lines;
    script.Visible = true;
}
