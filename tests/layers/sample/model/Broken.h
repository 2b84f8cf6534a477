#pragma once
#include "platform/MessageSink.h"
#include "engine/Compiler.h"
#include <QtGui/QColor>
