// Removing entries from the file list: one by double-click or the Delete key, or all at once.
#include "filelist/RemoveEntries.h"

#include "app/Form1.h"
#include "core/ErrorTrap.h"
#include "filelist/ErrorsIgnored.h"
#include "widgets/ListView.h"

namespace tabulon {

void ListView1_DblClick(Form1& form) {
    ListView& list = *form.ListView1;
    ignoringErrors([&] { list.removeItem(list.selectedItem().index()); });
}

void ListView1_KeyDown(Form1& form, int key) {
    if (key == Qt::Key_Delete) ListView1_DblClick(form);
}

void PushButton6_Click(Form1& form) {
    ErrorTrap trap(form.services().errors, "Form1.PushButton6_Click");
    trap.run(100, [&] { form.ListView1->clearItems(); });
}

}  // namespace tabulon
