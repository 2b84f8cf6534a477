#include "model/History.h"

#include "model/ProgramState.h"

TBackUp BackUp;
TBackUpArea BackUpArea;

namespace {

bool SameView(const TAreaView& a, const TAreaView& b)
{
    return a.XLow == b.XLow && a.XHigh == b.XHigh && a.YLow == b.YLow && a.YHigh == b.YHigh
           && a.XVHigh == b.XVHigh && a.YVHigh == b.YVHigh;
}

} // namespace

void TBackUp::Push(const TstringData& data)
{
    if (const TstringData* newest = Newest(); newest && SameStringData(*newest, data))
        return;
    NextSlot().Assign(data.Lines());
}

bool TBackUp::Undo(TstringData& target)
{
    const TstringData* entry = StepBack();
    if (entry)
        target.Assign(entry->Lines());
    return entry != nullptr;
}

bool TBackUp::Redo(TstringData& target)
{
    const TstringData* entry = StepForward();
    if (entry)
        target.Assign(entry->Lines());
    return entry != nullptr;
}

void TBackUpArea::Push(const TAreaView& view)
{
    if (const TAreaView* newest = Newest(); newest && SameView(*newest, view))
        return;
    NextSlot() = view;
}

bool TBackUpArea::Back(TAreaView& view)
{
    const TAreaView* entry = StepBack();
    if (entry)
        view = *entry;
    return entry != nullptr;
}

bool TBackUpArea::Forward(TAreaView& view)
{
    const TAreaView* entry = StepForward();
    if (entry)
        view = *entry;
    return entry != nullptr;
}

bool SameStringData(const TstringData& a, const TstringData& b)
{
    return a.Lines() == b.Lines();
}

bool IsNothingToSave()
{
    return (BackUp.IsAtStart() && BackUpArea.IsAtStart()) || ProgramState.Modified == 0;
}
