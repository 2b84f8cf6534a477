#pragma once

// The About window ("&Versão"): the program's name and version, its
// release date, who made it and the libraries it is built on. It also
// stands on the screen for a moment while the program starts.
#include <QDialog>
#include <QString>

class QFrame;
class QLabel;

// "KAVIRO 0.1 pt": the program's name, its version and its language.
QString ProgramNameAndVersion();
// The release's date, the same in every build of it.
QString ReleaseDate();

// Opens the About window, modal; a click anywhere closes it.
void ShowVersionWindow();

class Tversion final : public QDialog {
public:
    explicit Tversion(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* Label4;      // name and version
    QLabel* Label2;      // date
    QLabel* Label3;      // author
    QLabel* ImgKaviro;   // the program's picture
    QLabel* ImgDorvak;   // a picture of the authors: none
    QLabel* lblSupported;
    QLabel* lblname1;
    QLabel* lblname2;
    QLabel* lblname3;
    QLabel* lblname4;
    QLabel* Label5;

protected:
    // A click anywhere closes the window.
    void mousePressEvent(QMouseEvent* event) override;
};
