#include "dialogs/Version.h"

#include "dialogs/FormLook.h"
#include "dialogs/NamedWidgets.h"
#include "dialogs/PermanentForms.h"
#include "platform/ModalRunner.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int WindowWidth = 360;
constexpr int PictureSize = 48;
constexpr int Margin = 16;
constexpr int TextLeft = Margin + PictureSize + Margin;
constexpr int LineHeight = 18;

// The program's picture: axes and a parabola.
QPixmap ProgramPicture()
{
    QPixmap picture(PictureSize, PictureSize);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setPen(QPen(Qt::gray, 1));
    p.drawRect(0, 0, PictureSize - 1, PictureSize - 1);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(4, 36, 44, 36);
    p.drawLine(24, 4, 24, 44);
    p.setPen(QPen(Qt::red, 2));
    QPolygon parabola;
    for (int x = 6; x <= 42; x += 2) {
        const int d = x - 24;
        parabola << QPoint(x, 40 - d * d / 12);
    }
    p.drawPolyline(parabola);
    return picture;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width)
{
    QLabel* label = Named(new QLabel(text, parent), name);
    label->setGeometry(left, top, width, LineHeight);
    return label;
}

} // namespace

QString ProgramNameAndVersion()
{
    return QStringLiteral("KAVIRO " KAVIRO_VERSION " pt");
}

QString ReleaseDate()
{
    return QStringLiteral(KAVIRO_RELEASE_DATE);
}

Tversion::Tversion(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("version"));
    setWindowTitle(QStringLiteral("Versão"));
    setFont(FormFont());
    resize(WindowWidth, 240);
    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(0, 0, width(), height());
    FillBackground(*Panel1, FormColor);

    const int textWidth = Panel1->contentsRect().width() - TextLeft - 10;
    Label4 = MakeLabel(Panel1, "Label4", ProgramNameAndVersion(), TextLeft, Margin, textWidth);
    QFont title = FormFont(14);
    title.setBold(true);
    Label4->setFont(title);
    Label4->setFixedHeight(26);
    Label2 = MakeLabel(Panel1, "Label2", ReleaseDate(), TextLeft, Margin + 30, textWidth);
    Label3 = MakeLabel(Panel1, "Label3", QStringLiteral("Os colaboradores do projeto Kaviro"), TextLeft,
                       Margin + 30 + LineHeight, textWidth);
    ImgKaviro = Named(new QLabel(Panel1), "ImgKaviro");
    ImgKaviro->setGeometry(Margin, Margin, PictureSize, PictureSize);
    ImgKaviro->setPixmap(ProgramPicture());
    ImgDorvak = Named(new QLabel(Panel1), "ImgDorvak");
    ImgDorvak->hide();

    const int fullWidth = width() - 2 * Margin;
    int top = Margin + PictureSize + 20;
    Label5 = MakeLabel(Panel1, "Label5", QStringLiteral("Gráficos para o ensino de matemática"), Margin, top,
                       fullWidth);
    top += LineHeight + 10;
    lblSupported = MakeLabel(Panel1, "lblSupported", QStringLiteral("Com apoio de"), Margin, top, fullWidth);
    const QString credits[] = {QStringLiteral("Qt 6"), QStringLiteral("giflib, libjpeg, libpng e zlib"),
                               QStringLiteral("libUEMF")};
    QLabel** names[] = {&lblname1, &lblname2, &lblname3};
    const char* objectNames[] = {"lblname1", "lblname2", "lblname3"};
    for (int i = 0; i < 3; ++i) {
        top += LineHeight;
        *names[i] = MakeLabel(Panel1, objectNames[i], credits[i], 2 * Margin, top, fullWidth - Margin);
    }
    lblname4 = MakeLabel(Panel1, "lblname4", QString(), 2 * Margin, top + LineHeight, fullWidth - Margin);
    lblname4->hide();

    resize(WindowWidth, lblname3->geometry().bottom() + 1 + 24);
    Panel1->resize(size());
}

void Tversion::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    accept();
}

void ShowVersionWindow()
{
    Tversion window(Forms.GraphWindow);
    window.move(DialogAnchorPos());
    platform::RunModal(window);
}
