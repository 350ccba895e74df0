// The entries and column headers of a ListView. The results list of a row export holds a
// million entries, so an entry is small: its texts are kept as UTF-8 and become QStrings only
// when the list shows them.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "widgets/ReportModel.h"

namespace tabulon {

// One entry: its text and sub-items 1 and 2. Shared with the ListItems that name it, so that a
// ListItem kept across a removal knows its entry is gone instead of naming another.
struct ListEntry {
    std::array<std::string, 3> texts;
    int position = 0;  // 1-based; 0 once the entry has left its list
};

class ListModel : public ReportModel {
    Q_OBJECT
  public:
    using ReportModel::ReportModel;
    ~ListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void addHeader(const QString& header);
    void clearHeaders();

    // Inserts an entry at 0-based `row` (0 <= row <= count).
    std::shared_ptr<ListEntry> insert(int row, std::string text);
    void remove(int row);
    void clear();
    const std::shared_ptr<ListEntry>& entry(int row) const {
        return entries_[static_cast<std::size_t>(row)];
    }
    // Sets text 0, 1 or 2 of an entry and has the list show it.
    void setText(ListEntry& entry, int column, std::string text);

  private:
    // Gives the entries from 0-based `row` on their positions again.
    void renumberFrom(int row);

    std::vector<std::shared_ptr<ListEntry>> entries_;
};

}  // namespace tabulon
