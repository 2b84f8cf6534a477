#include "platform/MessageSink.h"

#include <cstdio>

namespace platform {

namespace {

StderrMessageSink& DefaultSink()
{
    static StderrMessageSink sink;
    return sink;
}

MessageSink* installedSink = nullptr;

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
    return installedSink ? *installedSink : DefaultSink();
}

void SetMessageSink(MessageSink* sink)
{
    installedSink = sink;
}

ScopedMessageSink::ScopedMessageSink(MessageSink& sink)
    : previous_(installedSink)
{
    installedSink = &sink;
}

ScopedMessageSink::~ScopedMessageSink()
{
    installedSink = previous_;
}

} // namespace platform
