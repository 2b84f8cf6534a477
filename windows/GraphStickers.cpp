// The note stickers on the graph: dragged about the graph, handed to the
// data panel by drag-and-drop, and their popup menu.
#include "windows/GraphAreaForm.h"

#include "dialogs/PermanentForms.h"
#include "model/DocumentState.h"
#include "model/MessageBox.h"
#include "model/Options.h"
#include "notes/DocForm.h"
#include "platform/Desktop.h"
#include "render/gfx/ColorConvert.h"
#include "render/scene/RedrawParticipants.h"
#include "render/scene/Stickers.h"
#include "render/view/Scale.h"
#include "session/NoteEdits.h"
#include "session/NoteSheets.h"
#include "session/PanelLayout.h"
#include "windows/ConsoleDrag.h"
#include "windows/MainConsole.h"

#include <QBitmap>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

namespace {


TStickerImage* StickerOfNumber(const TGraphAreaForm& form, int number)
{
    if (number < 1 || number > TGraphAreaForm::StickerCount)
        return nullptr;
    return static_cast<TStickerImage*>(form.Stickers[number - 1]);
}

int StickerNumberOf(const QMimeData* data)
{
    if (!data || !data->hasFormat(StickerDragMimeType))
        return 0;
    return data->data(StickerDragMimeType).toInt();
}

// The project keeps where each sticker lies on the graph, in the graph
// picture's pixels.
void RecordGraphPlace(const TGraphAreaForm& form, const TStickerImage& sticker)
{
    const QPoint place = sticker.pos() - form.GImage->pos();
    PanelLayout.StickerPlaces[sticker.Number()] = {place.x(), place.y(), 0};
}

// The data panel's notes panel lays itself out again.
void ArrangeNotesPanel()
{
    if (!Forms.MainConsole)
        return;
    Forms.MainConsole->ArrangeMemoPanel();
    Forms.MainConsole->ArrangePanels();
}

bool HasNotes()
{
    for (const QString& line : DocumentTables.PetaMemoLines)
        if (!line.trimmed().isEmpty())
            return true;
    return false;
}

} // namespace

TStickerImage::TStickerImage(int number, QWidget* parent)
    : QLabel(parent)
    , number_(number)
{
    setObjectName(QStringLiteral("Sticker%1").arg(number));
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void TStickerImage::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = pixmap();
    if (picture.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    if (Opaque) {
        painter.drawPixmap(0, 0, picture);
        return;
    }
    // Transparent: the picture's see-through colour lets the graph through
    // (a white inside stays). The mask takes a pass over every pixel, and
    // the sticker is painted again with every redraw of the graph under it.
    if (maskedFrom_ != picture.cacheKey()) {
        masked_ = picture;
        masked_.setMask(picture.createMaskFromColor(ToQColor(StickerSeeThroughColor), Qt::MaskInColor));
        maskedFrom_ = picture.cacheKey();
    }
    painter.drawPixmap(0, 0, masked_);
}

void TStickerImage::mousePressEvent(QMouseEvent* event)
{
    TGraphAreaForm* form = Forms.GraphAreaForm;
    if (event->button() != Qt::LeftButton || !form) {
        QLabel::mousePressEvent(event);
        return;
    }
    if (parentWidget() != form->PanelGraph) {
        StartDragAndDrop();
        return;
    }
    dragging_ = true;
    Opaque = true;
    lastGlobal_ = event->globalPosition().toPoint();
    update();
}

void TStickerImage::mouseMoveEvent(QMouseEvent* event)
{
    TGraphAreaForm* form = Forms.GraphAreaForm;
    if (!dragging_ || !form)
        return;
    const QPoint global = event->globalPosition().toPoint();
    move(pos() + global - lastGlobal_);
    lastGlobal_ = global;
    // Its centre off the graph: it may go on to the data panel.
    const QPoint centre = geometry().center() - form->GImage->pos();
    if (centre.x() < 0 || centre.x() > GraphScale.XAxis.VHigh || centre.y() < 0 ||
        centre.y() > GraphScale.YAxis.VHigh) {
        dragging_ = false;
        StartDragAndDrop();
    }
}

void TStickerImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ && Forms.GraphAreaForm)
        RecordGraphPlace(*Forms.GraphAreaForm, *this);
    dragging_ = false;
    Opaque = false;
    update();
    QLabel::mouseReleaseEvent(event);
}

void TStickerImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    // The first press began a drag that goes nowhere.
    dragging_ = false;
    Opaque = false;
    update();
    ShowDocForm();
}

void TStickerImage::StartDragAndDrop()
{
    auto* data = new QMimeData;
    data->setData(StickerDragMimeType, QByteArray::number(number_));
    const Qt::DropAction action =
        platform::CurrentDragStarter().startDrag(*this, data, Qt::MoveAction, Qt::MoveAction);
    if (Forms.GraphAreaForm)
        Forms.GraphAreaForm->EndStickerDrag(*this, action);
}

void TGraphImage::dragEnterEvent(QDragEnterEvent* event)
{
    if (StickerNumberOf(event->mimeData()) != 0)
        event->acceptProposedAction();
}

void TGraphImage::dropEvent(QDropEvent* event)
{
    TGraphAreaForm* form = Forms.GraphAreaForm;
    TStickerImage* sticker = form ? StickerOfNumber(*form, StickerNumberOf(event->mimeData())) : nullptr;
    if (!sticker)
        return;
    form->DropSticker(*sticker, event->position().toPoint());
    event->acceptProposedAction();
}

void TGraphAreaForm::CreateStickers()
{
    for (int i = 0; i < StickerCount; ++i) {
        auto* sticker = new TStickerImage(i + 1, PanelGraph);
        sticker->move(5, 5);
        sticker->hide();
        QObject::connect(sticker, &QWidget::customContextMenuRequested, this,
                         [this, sticker](QPoint pos) { PopupMenuMemo->popup(sticker->mapToGlobal(pos)); });
        Stickers[i] = sticker;
    }
}

bool TGraphAreaForm::IsStickerImage(const QObject* control) const
{
    return control && std::find(Stickers.begin(), Stickers.end(), control) != Stickers.end();
}

void TGraphAreaForm::SetStickerPicture(int number, const QImage& picture)
{
    TStickerImage* sticker = StickerOfNumber(*this, number);
    if (!sticker)
        return;
    sticker->setPixmap(QPixmap::fromImage(picture));
    sticker->resize(picture.size());
}

void TGraphAreaForm::SetStickersEnabled(bool enabled)
{
    for (QLabel* label : Stickers) {
        auto* sticker = static_cast<TStickerImage*>(label);
        sticker->setEnabled(enabled);
        if (sticker->parentWidget() == PanelGraph) {
            sticker->Opaque = !enabled;
            sticker->update();
        }
    }
}

void TGraphAreaForm::ShowMemoMenuItems()
{
    const bool notes = HasNotes();
    const bool firstShown = !Stickers[0]->isHidden();
    MnClearMemo->setVisible(notes);
    MnHideMemo->setVisible(notes && firstShown);
    MnShowMemo->setVisible(notes && !firstShown);
}

void TGraphAreaForm::HideStickers()
{
    SetStickersShown(false);
}

void TGraphAreaForm::ShowStickers()
{
    SetStickersShown(true);
}

void TGraphAreaForm::ClearAllMemos()
{
    if (!ShowMsgBox(QStringLiteral("Limpar todos os dados memorizados com [OK]"), MsgWarning, MsgOkCancel))
        return;
    ClearAllNotes();
    // An open note editor shows the stickers gone, or its OK would bring
    // them back; its other sheets stay as they are.
    if (TdocForm* editor = OpenDocForm())
        editor->MemoSticker->setPlainText(FillNoteSheets().Stickers);
}

void TGraphAreaForm::ShowSticker(int k, const QImage& picture)
{
    TStickerImage* sticker = StickerOfNumber(*this, k);
    if (!sticker)
        return;
    const QSize before = sticker->size();
    SetStickerPicture(k, picture);
    const TStickerPlace& place = PanelLayout.StickerPlaces[k];
    const bool onPanel = sticker->parentWidget() != PanelGraph;
    if (place.OnConsole && Forms.MainConsole) {
        if (!onPanel)
            Forms.MainConsole->DropStickerOnPanel(sticker);
        else if (sticker->size() != before || sticker->isHidden()) {
            sticker->show();
            ArrangeNotesPanel();
        }
        return;
    }
    if (onPanel) {
        sticker->setParent(PanelGraph);
        ArrangeNotesPanel();
    }
    sticker->move(GImage->pos() + QPoint(place.Left, place.Top));
    sticker->setVisible(!StickersHeldHidden);
    sticker->raise();
}

void TGraphAreaForm::HideSticker(int k)
{
    TStickerImage* sticker = StickerOfNumber(*this, k);
    if (!sticker)
        return;
    sticker->clear();
    sticker->hide();
    if (sticker->parentWidget() != PanelGraph) {
        sticker->setParent(PanelGraph);
        ArrangeNotesPanel();
    }
}

void TGraphAreaForm::DropSticker(TStickerImage& sticker, QPoint graphPixel)
{
    const bool fromPanel = sticker.parentWidget() != PanelGraph;
    if (fromPanel)
        sticker.setParent(PanelGraph);
    const QPoint centre = GImage->pos() + graphPixel;
    sticker.move(centre - QPoint(sticker.width() / 2, sticker.height() / 2));
    RecordGraphPlace(*this, sticker);
    sticker.Opaque = false;
    sticker.show();
    sticker.raise();
    // The note rows close up over the sticker that left them.
    if (fromPanel)
        ArrangeNotesPanel();
}

void TGraphAreaForm::PlaceStickers()
{
    bool leftPanel = false;
    for (int i = 0; i < StickerCount; ++i) {
        auto* sticker = static_cast<TStickerImage*>(Stickers[i]);
        const TStickerPlace& place = PanelLayout.StickerPlaces[i + 1];
        if (place.OnConsole && Forms.MainConsole) {
            if (!sticker->pixmap().isNull())
                Forms.MainConsole->DropStickerOnPanel(sticker);
            continue;
        }
        if (sticker->parentWidget() != PanelGraph) {
            // Reparenting hides it; it shows again as it was.
            const bool shown = !sticker->isHidden();
            sticker->setParent(PanelGraph);
            sticker->setVisible(shown);
            leftPanel = true;
        }
        sticker->move(GImage->pos() + QPoint(place.Left, place.Top));
    }
    if (leftPanel)
        ArrangeNotesPanel();
}

void TGraphAreaForm::EndStickerDrag(TStickerImage& sticker, Qt::DropAction action)
{
    sticker.Opaque = false;
    sticker.update();
    if (action != Qt::IgnoreAction || !Forms.MainConsole)
        return;
    // Dropped nowhere: the notes panel of the data panel takes it.
    Forms.MainConsole->DropStickerOnPanel(&sticker);
    PanelLayout.StickerPlaces[sticker.Number()].OnConsole = 1;
}
