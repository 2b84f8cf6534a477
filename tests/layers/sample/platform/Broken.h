#pragma once
#include <QString>
#include <QFont>
