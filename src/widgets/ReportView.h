// The look and behaviour that both windows' lists share: a report view with one row per entry,
// fixed column headers and single selection.
#pragma once

class QTreeView;

namespace tabulon {

void setUpReportView(QTreeView& view);

}  // namespace tabulon
