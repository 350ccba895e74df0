// Finding where the second half of a table begins, and reading it from there to the table's end.
#include "core/workbook/ods/SecondHalf.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/workbook/ods/TableBodyScanner.h"
#include "core/workbook/xml/ChunkedScan.h"

namespace tabulon::workbook::ods {

namespace {

constexpr std::string_view kRowTag = "<table:table-row";

// The first row start tag in the bytes, whose name ends in them; npos when there is none.
std::size_t findRowStart(std::string_view bytes) {
    for (std::size_t at = bytes.find(kRowTag); at != std::string_view::npos;
         at = bytes.find(kRowTag, at + 1)) {
        if (at + kRowTag.size() >= bytes.size()) return std::string_view::npos;
        const char after = bytes[at + kRowTag.size()];
        if (after == ' ' || after == '\t' || after == '\n' || after == '\r' || after == '>' ||
            after == '/')
            return at;
    }
    return std::string_view::npos;
}

}  // namespace

SecondHalf::SecondHalf(std::unique_ptr<ZipArchive> archive, const TablePlace& table,
                       std::uint64_t from, const ReadErrorPlace& place, const WorkbookData& book,
                       const StyleFormats& styles, const TableReader& first)
    : archive_(std::move(archive)),
      workbook_(book),
      cellsTaken_(book.cellsLeft / 2),
      textTaken_(book.textBudget.left() / 2),
      from_(from),
      end_(table.bodyEnd),
      columnsAtStart_(first.columnElements()),
      sheet_(book_, {}, SheetVisibility::Visible),
      reader_(place, book_, styles, sheet_) {
    book_.date1904 = book.date1904;
    book_.cellFormats = book.cellFormats;
    book_.cellsLeft = cellsTaken_;
    book_.textBudget = TextBudget(textTaken_);
    reader_.takeColumnsOf(first);
    workbook_.cellsLeft -= cellsTaken_;
    workbook_.textBudget.charge(textTaken_);
    try {
        thread_ = std::thread([this] { run(); });
    } catch (...) {
        giveBack();
        throw;
    }
}

SecondHalf::~SecondHalf() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    giveBack();
}

void SecondHalf::giveBack() {
    workbook_.cellsLeft += cellsTaken_;
    workbook_.textBudget.refund(textTaken_);
    cellsTaken_ = 0;
    textTaken_ = 0;
}

std::optional<std::uint64_t> SecondHalf::start() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return searched_; });
    return start_;
}

bool SecondHalf::read() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return done_; });
    return read_;
}

void SecondHalf::found(std::uint64_t start) {
    const std::lock_guard lock(mutex_);
    searched_ = true;
    start_ = start;
    changed_.notify_all();
}

void SecondHalf::finished(bool read) {
    const std::lock_guard lock(mutex_);
    searched_ = true;
    done_ = true;
    read_ = read;
    changed_.notify_all();
}

void SecondHalf::run() {
    bool read = false;
    try {
        const auto stream = archive_->stream(kContentPart, from_);
        std::uint64_t position = from_;
        // The last bytes of the chunk before, in which a start tag may have begun.
        std::string tail;
        while (!stop_ && position < end_) {
            std::string_view bytes = stream->next();
            if (bytes.empty()) break;
            bytes = bytes.substr(0, static_cast<std::size_t>(
                                        std::min<std::uint64_t>(bytes.size(), end_ - position)));
            // The half's first bytes: from a tag that begins in the tail, or in the chunk.
            std::string joined = tail + std::string(bytes.substr(0, kRowTag.size() + 1));
            std::string_view first;
            std::uint64_t start = 0;
            if (const std::size_t at = findRowStart(joined); at < tail.size()) {
                joined = tail.substr(at) + std::string(bytes);
                first = joined;
                start = position - tail.size() + at;
            } else if (const std::size_t in = findRowStart(bytes); in != std::string_view::npos) {
                first = bytes.substr(in);
                start = position + in;
            }
            if (!first.empty()) {
                found(start);
                read = scanFrom(*stream, start, first);
                break;
            }
            const std::size_t kept = std::min(bytes.size(), kRowTag.size());
            tail.assign(bytes.substr(bytes.size() - kept));
            position += bytes.size();
        }
    } catch (...) {
        // Damage, markup that the scanner leaves to expat, a cell past a limit: the caller reads
        // on alone and meets it itself.
    }
    finished(read);
}

bool SecondHalf::scanFrom(PartStream& stream, std::uint64_t position, std::string_view bytes) {
    TableBodyScanner scanner(reader_);
    xml::ChunkedScan<TableBodyScanner> chunks(scanner);
    for (;;) {
        // An end tag that closes the table before its end closes something this half did not
        // open.
        if (chunks.feed(bytes)) return false;
        position += bytes.size();
        if (position >= end_ || stop_) break;
        bytes = stream.next();
        if (bytes.empty()) return false;
        bytes = bytes.substr(
            0, static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), end_ - position)));
    }
    if (stop_ || chunks.finish()) return false;
    return !chunks.carrying() && scanner.balanced();
}

}  // namespace tabulon::workbook::ods
