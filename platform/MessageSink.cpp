#include "platform/MessageSink.h"

#include <cstdio>

namespace platform {

namespace {

const char* KindTitle(int kind)
{
    switch (kind) {
    case 0: return "AVISO";
    case 1: return "ERRO";
    default: return "Informação";
    }
}

} // namespace

bool StderrMessageSink::show(const QString& text, int kind, int /*buttons*/)
{
    std::fprintf(stderr, "[%s] %s\n", KindTitle(kind), text.toUtf8().constData());
    return false;
}

MessageSink& CurrentMessageSink()
{
    return InstalledOr<MessageSink, StderrMessageSink>();
}

void SetMessageSink(MessageSink* sink)
{
    ServiceSlot<MessageSink>::install(sink);
}

} // namespace platform
