// The main window's file list: routes the list's events and the list buttons to their handlers.
#include "filelist/FileList.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

#include "app/Form1.h"
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
    ErrorTrap trap(form_.services().errors, label);
    trap.run(100, std::forward<Handler>(handler));
}

FileList::FileList(Form1& form) : QObject(&form), form_(form), drag_(form) {
    ListView& list = *form.ListView1;
    list.setAcceptDrops(true);
    list.viewport()->setAcceptDrops(true);
    list.viewport()->setMouseTracking(true);
    list.installEventFilter(this);
    list.viewport()->installEventFilter(this);

    // The entry click comes with the press, so that a press on an entry and a move drag that
    // entry at once.
    connect(&list, &QTreeWidget::itemPressed, this, [this] {
        if (!form_.exportRunning())
            untrapped("Form1.ListView1_ItemClick", [this] { drag_.ListView1_ItemClick(); });
    });
    // A dragged entry that leaves the list is forgotten: the next drag moves nothing.
    connect(list.model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                drag_.entriesLeaving(first + 1, last + 1);
            });
    connect(list.model(), &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { drag_.allEntriesLeaving(); });

    const auto onClick = [this](QPushButton* button, void (*handler)(Form1&)) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            if (!form_.exportRunning()) handler(form_);
        });
    };
    onClick(form.PushButton1, &PushButton1_Click);
    onClick(form.PushButton3, &PushButton3_Click);
    onClick(form.PushButton4, &PushButton4_Click);
    onClick(form.PushButton5, &PushButton5_Click);
    onClick(form.PushButton6, &PushButton6_Click);
    onClick(form.PushButton7, &PushButton7_Click);
}

bool FileList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_.ListView1) return listEvent(event);
    if (watched == form_.ListView1->viewport()) return viewportEvent(event);
    return QObject::eventFilter(watched, event);
}

bool FileList::listEvent(QEvent* event) {
    if (event->type() == QEvent::KeyPress && !form_.exportRunning())
        ListView1_KeyDown(form_, static_cast<QKeyEvent*>(event)->key());
    return false;
}

// Mouse moves while a button is held belong to the drag: the list's own drag selection and
// scrolling do not see them. Drops are decided here alone.
bool FileList::viewportEvent(QEvent* event) {
    const bool running = form_.exportRunning();
    switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            if (!running) ListView1_DblClick(form_);
            return false;
        case QEvent::MouseButtonPress:
            if (!running) drag_.ListView1_MouseDown();
            return false;
        case QEvent::MouseMove: {
            if (running) return false;
            const QPoint inList = form_.ListView1->viewport()->mapTo(
                form_.ListView1, static_cast<QMouseEvent*>(event)->position().toPoint());
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
                      [&] { ListView1_OLEDragDrop(form_, *drop->mimeData()); });
            return true;
        }
        default:
            return false;
    }
}

}  // namespace tabulon
