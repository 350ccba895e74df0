// The second half of a large table, read on a thread of its own while the calling thread reads
// the first: from the first row start tag after a place in the table's content to the table's
// end, into a sheet of its own, with that row counted as row 1. The caller moves its cells in
// when it reaches that tag between rows, with the columns it had when the half began; otherwise
// it reads on alone, and what the half read is let go. The half stores its cells and texts
// against half of what the workbook's budgets have left, taken from them while it lives, so that
// the two halves together stay within them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/ContentOutline.h"
#include "core/workbook/ods/OdsWorksheet.h"
#include "core/workbook/ods/StyleFormats.h"
#include "core/workbook/ods/TableReader.h"

namespace tabulon::workbook::ods {

class SecondHalf {
  public:
    // Starts reading content.xml through `archive`, a twin of the caller's, from `from` inside
    // the table, with the columns that `first` has read so far.
    SecondHalf(std::unique_ptr<ZipArchive> archive, const TablePlace& table, std::uint64_t from,
               const ReadErrorPlace& place, const WorkbookData& book, const StyleFormats& styles,
               const TableReader& first);
    ~SecondHalf();
    SecondHalf(const SecondHalf&) = delete;
    SecondHalf& operator=(const SecondHalf&) = delete;

    // Where the half begins, waiting until that is known: the '<' of the first
    // table:table-row start tag at or after `from`; nothing when the table has none there or
    // its bytes could not be read.
    std::optional<std::uint64_t> start();
    // Waits for the end of its reading: true when it read the half to the table's end, which
    // closed every element it opened, without fault.
    bool read();
    // What it read; valid once read() is true.
    OdsWorksheet& sheet() { return sheet_; }
    const TableReader& reader() const { return reader_; }
    // The table:table-column elements the first half had read when this one began.
    std::size_t columnsAtStart() const { return columnsAtStart_; }
    // Gives the workbook's budgets back what the half took from them (once; the destructor does
    // it otherwise).
    void giveBack();

  private:
    void run();
    // Scans the half's bytes from the row start tag on; true when they reach the table's end.
    bool scanFrom(PartStream& stream, std::uint64_t position, std::string_view bytes);
    // Tells the caller where the half begins, then whether it was read (when it ends without
    // having begun, the half has no start).
    void found(std::uint64_t start);
    void finished(bool read);

    std::unique_ptr<ZipArchive> archive_;
    const WorkbookData& workbook_;
    std::uint64_t cellsTaken_;  // from the workbook's budgets
    std::uint64_t textTaken_;
    const std::uint64_t from_;
    const std::uint64_t end_;  // of the table's content
    const std::size_t columnsAtStart_;
    WorkbookData book_;  // the budgets of this half, with the workbook's formats
    OdsWorksheet sheet_;
    TableReader reader_;

    std::mutex mutex_;
    std::condition_variable changed_;
    bool searched_ = false;
    std::optional<std::uint64_t> start_;
    bool done_ = false;
    bool read_ = false;
    std::atomic<bool> stop_ = false;
    std::thread thread_;  // last: it uses everything above
};

}  // namespace tabulon::workbook::ods
