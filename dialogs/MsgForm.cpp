#include "dialogs/MsgForm.h"

#include "dialogs/FormLook.h"
#include "model/MessageBox.h"
#include "platform/ModalRunner.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {

// Layout of the designed form: client area 275 x 103 with the picture at the
// left, the text beside it and the buttons along the bottom.
constexpr int DesignedWidth = 275;
constexpr int DesignedHeight = 103;
constexpr int ImageLeft = 12;
constexpr int ImageTop = 14;
constexpr int ImageSize = 32;
constexpr int LabelLeft = 56;
constexpr int LabelTop = 16;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonGapAbove = 16;
constexpr int BottomMargin = 10;
constexpr int RightMargin = 20;

QLabel* MakeImage(QWidget* parent, QStyle::StandardPixmap which)
{
    auto* image = new QLabel(parent);
    image->setGeometry(ImageLeft, ImageTop, ImageSize, ImageSize);
    image->setPixmap(parent->style()->standardIcon(which).pixmap(ImageSize, ImageSize));
    image->hide();
    return image;
}

QPushButton* MakeButton(TMsgForm* form, const QString& caption, int result)
{
    auto* button = new QPushButton(caption, form);
    button->resize(ButtonWidth, ButtonHeight);
    QObject::connect(button, &QPushButton::clicked, form, [form, result] { form->done(result); });
    return button;
}

} // namespace

TMsgForm::TMsgForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("MsgForm"));
    const QFont font = FormFont();
    setFont(font);
    FillBackground(*this, FormColor);

    Label1 = new QLabel(this);
    Label1->setFont(font);
    Label1->setTextFormat(Qt::PlainText); // messages quote formulas such as "a<b"
    Label1->move(LabelLeft, LabelTop);
    Image1 = MakeImage(this, QStyle::SP_MessageBoxWarning);
    Image2 = MakeImage(this, QStyle::SP_MessageBoxCritical);
    Button1 = MakeButton(this, QStringLiteral("&O K"), MsgResultOk);
    Button1->setDefault(true);
    Button2 = MakeButton(this, QStringLiteral("&Cancelar"), MsgResultCancel);
    setFixedSize(DesignedWidth, DesignedHeight);
}

bool HasCancelButton(int buttons)
{
    return (buttons & 0x0A) != 0;
}

void TMsgForm::Prepare(const QString& text, int kind, int buttons)
{
    // Messages break their lines with CR or CR LF (a script's Pause), which
    // a plain-text label would draw as blanks.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    Label1->setText(lines);
    const QSize textSize = Label1->sizeHint();
    Label1->resize(textSize);

    const bool twoButtons = HasCancelButton(buttons);
    const int minWidth = twoButtons ? 2 * ButtonWidth + 50 : ButtonWidth + 40;
    const int width = std::max(LabelLeft + textSize.width() + RightMargin, minWidth);
    // A text of several lines pushes the buttons down instead of being cut.
    const int buttonTop = std::max(DesignedHeight - BottomMargin - ButtonHeight,
                                   LabelTop + textSize.height() + ButtonGapAbove);
    const int height = buttonTop + ButtonHeight + BottomMargin;
    setFixedSize(width, height);

    switch (kind) {
    case MsgWarning:
        setWindowTitle(QStringLiteral("AVISO"));
        Image1->show();
        Image2->hide();
        break;
    case MsgError:
        setWindowTitle(QStringLiteral("ERRO"));
        Image1->hide();
        Image2->show();
        break;
    case MsgInfo:
        setWindowTitle(QStringLiteral("Informação"));
        Image1->show();
        Image2->hide();
        break;
    default:
        break;
    }

    const int centre = width / 2;
    if (twoButtons) {
        Button1->move(centre - ButtonWidth - 8, buttonTop);
        Button2->move(centre + 8, buttonTop);
        Button2->show();
    } else {
        Button2->hide();
        Button1->move((width - ButtonWidth) / 2, buttonTop);
    }
}

void TMsgForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Button1->setFocus();
}

MsgFormSink::MsgFormSink()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        MsgFormTop = (area.height() - 300) / 2;
        MsgFormLeft = (area.width() - 150) / 2;
    }
}

bool MsgFormSink::show(const QString& text, int kind, int buttons)
{
    if (kind == MsgWarning || kind == MsgError)
        beep();
    const int result = ShowMsgForm(text, kind, buttons);
    return result == MsgResultOk || result == MsgResultYes;
}

int MsgFormSink::ShowMsgForm(const QString& text, int kind, int buttons)
{
    TMsgForm form;
    form.Prepare(text, kind, buttons);
    form.move(MsgFormLeft, MsgFormTop);
    const int result = runModal(form);
    MsgFormLeft = form.x();
    MsgFormTop = form.y();
    return result;
}

void MsgFormSink::beep()
{
    QApplication::beep();
}

int MsgFormSink::runModal(TMsgForm& form)
{
    return platform::RunModal(form);
}

bool InstallMessageBox()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    static MsgFormSink sink;
    platform::SetMessageSink(&sink);
    return true;
}
