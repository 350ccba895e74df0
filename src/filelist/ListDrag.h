// Reordering the file list by dragging an entry's path across the other entries.
#pragma once

#include <QPointF>
#include <optional>

#include "widgets/ListView.h"

namespace tabulon {

class FileListHost;

// The drag state of the main window's list. A click on an entry picks the entry that holds the
// dragged path; while a button is held, each move over another entry swaps the two texts, so
// the path travels with the pointer and the entries in between keep their order.
class ListDrag {
  public:
    explicit ListDrag(FileListHost& host);

    void ListView1_ItemClick();
    void ListView1_MouseDown();
    // The position is the pointer's, in twips relative to the list.
    void ListView1_MouseMove(QPointF twips);
    void ListView1_MouseUp();

    // Entries are about to leave the list (positions first to last, 1-based): a DragItem among
    // them is forgotten, so that a later drag moves nothing instead of a deleted entry.
    void entriesLeaving(int first, int last);
    void allEntriesLeaving() { DragItem.reset(); }

    bool dragging() const { return Dragging; }

  private:
    void scrollNear(int hoverPosition);

    FileListHost& host_;
    std::optional<ListItem> DragItem;
    std::optional<ListItem> HoverItem;
    bool Dragging = false;
};

}  // namespace tabulon
