// Reordering the file list by dragging an entry's path across the other entries.
#include "filelist/ListDrag.h"

#include <QCursor>
#include <QImageReader>
#include <QPixmap>

#include "filelist/ErrorsIgnored.h"
#include "filelist/FileListHost.h"
#include "widgets/ListView.h"

namespace tabulon {
namespace {

// Screen rows (in pixels) above and below which a swap scrolls the list by one entry.
constexpr int kScrollUpAbove = 305;
constexpr int kScrollDownFrom = 365;

// The drag pointer: the picture in "drag.ico", pointing with its top-left corner. Loaded anew
// at every entry click, so a file replaced meanwhile takes effect at once.
std::optional<QCursor> loadDragPointer(const QString& programFolder) {
    QImageReader reader(programFolder + "/drag.ico");
    const QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return QCursor(QPixmap::fromImage(image), 1, 1);
}

}  // namespace

ListDrag::ListDrag(FileListHost& host) : host_(host) {}

void ListDrag::ListView1_ItemClick() {
    ListView& list = host_.fileList();
    if (const auto pointer = loadDragPointer(host_.programFolder())) list.setCursor(*pointer);
    list.setDragEnabled(false);
    DragItem.reset();
    ignoringErrors([&] { DragItem = list.selectedItem(); });
}

void ListDrag::ListView1_MouseDown() { Dragging = true; }

void ListDrag::ListView1_MouseMove(QPointF twips) {
    if (host_.mousePointer() != MousePointer::Busy) host_.setMousePointer(MousePointer::Default);
    if (!Dragging) return;
    ListView& list = host_.fileList();
    HoverItem = list.hitTest(static_cast<float>(twips.x()), static_cast<float>(twips.y()));
    if (HoverItem && DragItem && HoverItem->text() != DragItem->text()) {
        const QString dragged = DragItem->text();
        const int hoverPosition = HoverItem->index();
        list.item(DragItem->index()).setText(HoverItem->text());
        list.item(hoverPosition).setText(dragged);
        list.item(hoverPosition).select();
        DragItem = list.item(hoverPosition);
        scrollNear(hoverPosition);
    }
    HoverItem.reset();
}

void ListDrag::ListView1_MouseUp() {
    Dragging = false;
    host_.fileList().setCursor(Qt::ArrowCursor);
}

// The rows are screen rows, not rows of the window: where the window stands on the screen
// decides whether a drag near the list's edge scrolls.
void ListDrag::scrollNear(int hoverPosition) {
    ListView& list = host_.fileList();
    const int screenRow = QCursor::pos().y();
    if (screenRow < kScrollUpAbove && hoverPosition >= 2) {
        list.item(hoverPosition - 1).ensureVisible();
    } else if (screenRow >= kScrollDownFrom && hoverPosition < list.itemCount()) {
        list.item(hoverPosition + 1).ensureVisible();
    }
}

void ListDrag::entriesLeaving(int first, int last) {
    if (!DragItem) return;
    const int position = DragItem->index();
    if (position >= first && position <= last) DragItem.reset();
}

}  // namespace tabulon
