// The main window's file list: routes the list's events and the list buttons to their handlers.
#include "filelist/FileList.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

#include "core/ErrorTrap.h"
#include "filelist/AddFiles.h"
#include "filelist/DropFiles.h"
#include "filelist/MoveButtons.h"
#include "filelist/RemoveEntries.h"
#include "filelist/SampleFiles.h"
#include "widgets/ListView.h"
#include "widgets/Twips.h"

namespace tabulon {

template <class Handler>
void FileList::untrapped(const char* label, Handler&& handler) {
    ErrorTrap trap(host_.errors(), label);
    trap.run(100, std::forward<Handler>(handler));
}

FileList::FileList(FileListHost& host, const FileListButtons& buttons, QObject* parent)
    : QObject(parent), host_(host), drag_(host) {
    ListView& list = host.fileList();
    list.setAcceptDrops(true);
    list.viewport()->setAcceptDrops(true);
    list.viewport()->setMouseTracking(true);
    list.installEventFilter(this);
    list.viewport()->installEventFilter(this);

    // The entry click comes with the press, so that a press on an entry and a move drag that
    // entry at once.
    connect(&list, &QAbstractItemView::pressed, this, [this] {
        if (!host_.exportRunning())
            untrapped("Form1.ListView1_ItemClick", [this] { drag_.ListView1_ItemClick(); });
    });
    // A dragged entry that leaves the list is forgotten: the next drag moves nothing.
    connect(list.model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                drag_.entriesLeaving(first + 1, last + 1);
            });
    connect(list.model(), &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { drag_.allEntriesLeaving(); });

    const auto onClick = [this](QPushButton* button, void (*handler)(FileListHost&)) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            if (!host_.exportRunning()) handler(host_);
        });
    };
    onClick(buttons.addFiles, &PushButton1_Click);
    onClick(buttons.moveUp, &PushButton3_Click);
    onClick(buttons.addFolder, &PushButton4_Click);
    onClick(buttons.moveDown, &PushButton5_Click);
    onClick(buttons.clear, &PushButton6_Click);
    onClick(buttons.samples, &PushButton7_Click);
}

bool FileList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &host_.fileList()) return listEvent(event);
    if (watched == host_.fileList().viewport()) return viewportEvent(event);
    return QObject::eventFilter(watched, event);
}

bool FileList::listEvent(QEvent* event) {
    if (event->type() == QEvent::KeyPress && !host_.exportRunning())
        ListView1_KeyDown(host_, static_cast<QKeyEvent*>(event)->key());
    return false;
}

// Mouse moves while a button is held belong to the drag: the list's own drag selection and
// scrolling do not see them. Drops are decided here alone.
bool FileList::viewportEvent(QEvent* event) {
    const bool running = host_.exportRunning();
    switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            if (!running) ListView1_DblClick(host_);
            return false;
        case QEvent::MouseButtonPress:
            if (!running) drag_.ListView1_MouseDown();
            return false;
        case QEvent::MouseMove: {
            if (running) return false;
            ListView& list = host_.fileList();
            const QPoint inList = list.viewport()->mapTo(
                &list, static_cast<QMouseEvent*>(event)->position().toPoint());
            untrapped("Form1.ListView1_MouseMove",
                      [&] { drag_.ListView1_MouseMove(QPointF(inList) * kTwipsPerPixel); });
            return drag_.dragging();
        }
        case QEvent::MouseButtonRelease:
            if (!running) drag_.ListView1_MouseUp();
            return false;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!running && ListView1_OLEDragOver(*drag->mimeData())) {
                drag->acceptProposedAction();
            } else {
                drag->setDropAction(Qt::IgnoreAction);
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (running || !ListView1_OLEDragOver(*drop->mimeData())) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            untrapped("Form1.ListView1_OLEDragDrop",
                      [&] { ListView1_OLEDragDrop(host_, *drop->mimeData()); });
            return true;
        }
        default:
            return false;
    }
}

}  // namespace tabulon
