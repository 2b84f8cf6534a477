#include <QFont>
#include <QApplication>
#include "model/Value.h"
