#include "dialogs/QtSystemErrorBox.h"

#include "platform/ModalRunner.h"

#include <QApplication>
#include <QMessageBox>

void QtSystemErrorBox::showError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("SystemErrorBox"));
    platform::RunModal(box);
}
