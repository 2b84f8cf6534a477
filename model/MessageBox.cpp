#include "model/MessageBox.h"

#include "platform/MessageSink.h"

bool ShowMsgBox(const QString& text, int kind, int buttons)
{
    return platform::CurrentMessageSink().show(text, kind, buttons);
}
