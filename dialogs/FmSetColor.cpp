#include "dialogs/FmSetColor.h"

#include "dialogs/PermanentForms.h"

#include <QFont>
#include <QString>

TFmSetColor::TFmSetColor()
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FmSetColor"));
    setFont(QFont(QString::fromUtf16(FormFontName)));
    Forms.FmSetColor = this;
}

TFmSetColor::~TFmSetColor()
{
    if (Forms.FmSetColor == this)
        Forms.FmSetColor = nullptr;
}
