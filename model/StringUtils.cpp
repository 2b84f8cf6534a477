#include "model/StringUtils.h"

void DeleteFirstChar(QString& s)
{
    if (!s.isEmpty())
        s.remove(0, 1);
}

void DeleteLastChar(QString& s)
{
    s.chop(1);
}
