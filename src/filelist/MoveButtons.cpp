// "Move Up" and "Move Down": the selected entry moves by one position.
#include "filelist/MoveButtons.h"

#include "filelist/ErrorsIgnored.h"
#include "filelist/FileListHost.h"
#include "widgets/ListView.h"

namespace tabulon {
namespace {

// The position of the selected entry, 0 when there is none.
int selectedPosition(const ListView& list) {
    int position = 0;
    ignoringErrors([&] { position = list.selectedItem().index(); });
    return position;
}

void selectAndShow(ListView& list, int position) {
    ignoringErrors([&] { list.item(position).select(); });
    ignoringErrors([&] { list.item(position).ensureVisible(); });
}

}  // namespace

// A copy of the selected entry goes in above its upper neighbour, then the entry itself goes.
void PushButton3_Click(FileListHost& host) {
    ListView& list = host.fileList();
    const int p = selectedPosition(list);
    if (p >= 2) {
        ignoringErrors([&] { list.insertItem(p - 1, list.selectedItem().text()); });
        ignoringErrors([&] { list.removeItem(p + 1); });
        selectAndShow(list, p - 1);
    }
    list.setFocus();
}

// A copy of the selected entry goes in below its lower neighbour, then the entry itself goes.
// With nothing selected (p = 0) the copy and the removal fail and only the selection of entry 1
// remains.
void PushButton5_Click(FileListHost& host) {
    ListView& list = host.fileList();
    const int p = selectedPosition(list);
    if (p < list.itemCount()) {
        ignoringErrors([&] { list.insertItem(p + 2, list.selectedItem().text()); });
        ignoringErrors([&] { list.removeItem(p); });
        selectAndShow(list, p + 1);
    }
    list.setFocus();
}

}  // namespace tabulon
