#pragma once

#include <QString>

// Remove one character from the start or the end; an empty string stays empty.
void DeleteFirstChar(QString& s);
void DeleteLastChar(QString& s);
