// Removing entries from the file list: one by double-click or the Delete key, or all at once.
#include "filelist/RemoveEntries.h"

#include "core/ErrorTrap.h"
#include "filelist/ErrorsIgnored.h"
#include "filelist/FileListHost.h"
#include "widgets/ListView.h"

namespace tabulon {

void ListView1_DblClick(FileListHost& host) {
    ListView& list = host.fileList();
    ignoringErrors([&] { list.removeItem(list.selectedItem().index()); });
}

void ListView1_KeyDown(FileListHost& host, int key) {
    if (key == Qt::Key_Delete) ListView1_DblClick(host);
}

void PushButton6_Click(FileListHost& host) {
    ErrorTrap trap(host.errors(), "Form1.PushButton6_Click");
    trap.run(100, [&] { host.fileList().clearItems(); });
}

}  // namespace tabulon
