// The picture shown behind the graph: from a file or the clipboard, fitted
// to the graph's width, height or both, or shown as it is.
#include "windows/GraphAreaForm.h"

#include "model/Options.h"
#include "platform/Choosers.h"
#include "platform/Clipboard.h"
#include "session/BackgroundPicture.h"
#include "session/ProjectFile.h"
#include "windows/ToolIcons.h"

#include <QFileInfo>
#include <QImageReader>
#include <QToolButton>

namespace {

// The picture of the file; null when it is missing or no reader knows it
// (pictures of the Windows metafile formats among them).
QImage ReadPicture(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return {};
    QImageReader reader(fileName);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    return picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TGraphAreaForm::SetButtonImage(QToolButton* button, int image)
{
    button->setProperty("imageIndex", image);
    button->setIcon(ToolIconAt(image));
}

int TGraphAreaForm::ButtonImage(const QToolButton* button)
{
    return button->property("imageIndex").toInt();
}

void TGraphAreaForm::SetBackgroundSource(TBackgroundSource source)
{
    backgroundSource_ = source;
    SetButtonImage(SbbImgepast, source == BackgroundFromClipboard ? 1 : 0);
}

void TGraphAreaForm::PasteBackgroundFromFile()
{
    SetBackgroundSource(BackgroundFromFile);
    platform::FileChoice choice;
    choice.folder = ProjectFile.BGfile.isEmpty() ? QString() : QFileInfo(ProjectFile.BGfile).absolutePath();
    choice.filter = QStringLiteral("Imagens (*.bmp *.gif *.jpg *.jpeg *.png *.emf *.wmf);;Todos (*)");
    const std::optional<QString> chosen = platform::CurrentFileChooser().chooseOpenFile(choice);
    if (!chosen)
        return;
    BImage = ReadPicture(*chosen);
    TakeBackgroundFile(*chosen, !BImage.isNull());
}

void TGraphAreaForm::LoadBackgroundFile(const QString& fileName)
{
    BImage = ReadPicture(fileName);
    ShowBackgroundFile(!BImage.isNull());
}

void TGraphAreaForm::PasteBackgroundFromClipboard()
{
    SetBackgroundSource(BackgroundFromClipboard);
    const QImage picture = platform::CurrentClipboard().image();
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0)
        return;
    BImage = picture.convertToFormat(QImage::Format_RGB32);
    TakeBackgroundFromClipboard();
}

void TGraphAreaForm::ClearBackground()
{
    if (ClearBackgroundPicture())
        BImage = QImage();
}

void TGraphAreaForm::SetStretchMode(int mode)
{
    SetBackgroundStretchMode(mode);
    UpdateStretchButton();
}

void TGraphAreaForm::ToggleStretch()
{
    ToggleBackgroundStretch();
    sbStretch->setChecked(Options.BGstretchOn != 0);
}

void TGraphAreaForm::UpdateStretchButton()
{
    SetButtonImage(sbStretch, Options.BGMode + 9);
    sbStretch->setChecked(Options.BGstretchOn != 0);
}
