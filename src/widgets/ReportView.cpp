// The look and behaviour that both windows' lists share.
#include "widgets/ReportView.h"

#include <QHeaderView>
#include <QTreeView>

namespace tabulon {

void setUpReportView(QTreeView& view) {
    view.setRootIsDecorated(false);
    // Rows of one height let a list of a million rows lay itself out without measuring each.
    view.setUniformRowHeights(true);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.header()->setStretchLastSection(false);
    view.header()->setSectionsMovable(false);
    view.header()->setSectionsClickable(false);
}

}  // namespace tabulon
