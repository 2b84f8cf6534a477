#pragma once

#include "platform/MessageSink.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

// Results of the message form.
enum : int {
    MsgResultNone = 0, // closed without a button
    MsgResultOk = 1,
    MsgResultCancel = 2,
    MsgResultYes = 6, // never given by this form; counts as OK
};

// The program's message box: sized to its text, titled by the kind of
// message, with OK alone or OK and Cancel.
class TMsgForm final : public QDialog {
public:
    explicit TMsgForm(QWidget* parent = nullptr);

    // Fills in and lays out the form without showing it: exec() shows it
    // modally, open() without blocking.
    void Prepare(const QString& text, int kind, int buttons);

    QLabel* Label1;       // the text
    QLabel* Image1;       // warning and information picture
    QLabel* Image2;       // error picture
    QPushButton* Button1; // OK
    QPushButton* Button2; // Cancel

protected:
    void showEvent(QShowEvent* event) override;
};

// True when the button code asks for OK and Cancel (codes 2 and 8, as in 12).
bool HasCancelButton(int buttons);

// Shows every message of the program in a TMsgForm, beeping for warnings and
// errors, at the place where the user left the previous one.
class MsgFormSink : public platform::MessageSink {
public:
    // The first message appears near the middle of the primary screen.
    MsgFormSink();

    bool show(const QString& text, int kind, int buttons) override;
    // Shows the form and returns its result (MsgResultOk, ...).
    int ShowMsgForm(const QString& text, int kind, int buttons);

    int MsgFormLeft = 0;
    int MsgFormTop = 0;

protected:
    virtual void beep();
    // Shows the prepared, placed form modally, through the installed modal
    // runner, and returns its result.
    virtual int runModal(TMsgForm& form);
};

// Makes the message box the program's message sink; does nothing (and
// answers false) unless the application has windows.
bool InstallMessageBox();
