// The results of one export run: each result's text appended to a few large files in the run's
// private folder, and one compact record per result saying what it is and where its text lies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/RunFolder.h"

namespace tabulon {

class MappedFile;

// A result that would grow past this many bytes is stopped.
inline constexpr std::uint64_t kDefaultResultSizeLimit = std::uint64_t{4} << 30;
// A new text file is begun for the next result once the current one holds this many bytes: FAT
// holds at most 4 GiB in a file, and a result never spans two files.
inline constexpr std::uint64_t kTextFileSize = std::uint64_t{1} << 30;

// One delivered result, as the results list, the preview, the save and --output - see it.
struct Result {
    std::string_view name;   // the result name: "Book1.csv" for Book1.xlsx
    std::string_view sheet;  // the worksheet's name; empty in the book option
    std::int32_t number;     // the row or column number; 0 in the book and sheet options
    std::uint64_t size;      // the bytes of its text
};

class ResultStore {
  public:
    // A store in a private folder of its own.
    explicit ResultStore(std::uint64_t sizeLimit = kDefaultResultSizeLimit);
    // A store beside others in one run folder; `fileSize` as kTextFileSize.
    ResultStore(std::shared_ptr<RunFolder> folder, std::uint64_t sizeLimit,
                std::uint64_t fileSize = kTextFileSize);
    // Removes the store's files, and its folder when no other store shares it.
    ~ResultStore();
    ResultStore(const ResultStore&) = delete;
    ResultStore& operator=(const ResultStore&) = delete;

    std::uint64_t sizeLimit() const { return sizeLimit_; }
    // The room left in the temporary folder, measured again after every 64 MiB kept and at
    // least once a run; between measurements, what was kept since is taken off.
    std::uint64_t freeSpace();
    const RunFolder& folder() const { return *folder_; }

    // The text of the next result is appended, then delivered or dropped; one at a time. A
    // failed write throws FileError naming the store's file; the text is then to be dropped.
    void append(std::string_view bytes);
    // Makes the text appended so far the next result, with its names and number, in one step.
    void deliver(std::string_view name, std::string_view sheet, std::int32_t number);
    // Cuts the text appended since the last delivery off its file again.
    void drop();

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    Result at(std::size_t k) const;
    // Hands result k's text to `take` in order, in pieces of up to 1 MiB; throws FileError.
    void read(std::size_t k, const std::function<void(std::string_view)>& take) const;
    std::string text(std::size_t k) const;
    // Result k's text mapped into memory, readable for as long as the mapping lives.
    std::shared_ptr<const MappedFile> map(std::size_t k) const;

    // Forgets every result and removes their files; only for a store that nothing shows.
    void clear();

  private:
    struct TextFile {
        std::string path;
        int fd;
        std::uint64_t delivered = 0;  // where its last delivered text ends
    };
    // Results delivered one after another into one file, of one sheet, numbered one after
    // another (or all unnumbered, one a span): a million row results take a few spans.
    struct Span {
        std::size_t first;  // the first result's index
        std::uint32_t file;
        std::uint32_t sheet;
        std::int32_t firstNumber;
        std::uint64_t start;  // where the first result's text begins in its file
        std::uint64_t end;    // where the last result's text ends
    };
    struct Sheet {
        std::uint32_t workbook;
        std::string name;
    };
    struct Place {
        std::uint32_t file;
        std::uint64_t offset;
        std::uint64_t size;
    };
    // The piece of a file read last: the small texts that follow one another in a file are
    // read a piece at a time, not each with a call of its own.
    struct ReadAhead {
        std::size_t file = SIZE_MAX;  // none
        std::uint64_t offset = 0;
        std::size_t size = 0;
        std::unique_ptr<char[]> bytes;
    };

    std::vector<Span>::const_iterator spanOf(std::size_t k) const;
    Place placeOf(std::size_t k) const;
    void begin();
    void writePending();
    void readAhead(std::uint32_t file, std::uint64_t offset) const;

    std::shared_ptr<RunFolder> folder_;
    std::uint64_t sizeLimit_;
    std::uint64_t fileSize_;
    std::vector<TextFile> files_;
    // Each workbook's result name and each sheet's name once, however many results they have.
    std::vector<std::string> workbooks_;
    std::vector<Sheet> sheets_;
    std::vector<Span> spans_;
    // Where each result's text ends, counted from its span's start; the last result of a span
    // ends at the span's end, so that a text may pass 4 GiB. Kept in blocks: four bytes a
    // result, and a million results are never moved to grow.
    std::deque<std::uint32_t> ends_;

    bool building_ = false;
    std::string pending_;        // appended, not yet written
    std::uint64_t written_ = 0;  // the bytes of the current file
    mutable ReadAhead readAhead_;

    std::uint64_t measuredFree_ = 0;
    std::uint64_t keptSinceMeasured_ = 0;
    bool measured_ = false;
};

}  // namespace tabulon
