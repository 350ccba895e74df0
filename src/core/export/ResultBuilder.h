// The text of one result, built in memory while it is small and in its temporary file once it
// grows, so that memory does not grow with the text; a result that would pass its size limit is
// stopped.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "core/export/StoredText.h"
#include "core/util/FileSink.h"

namespace tabulon {

class FileError;
class ResultStore;

class ResultBuilder {
  public:
    // A result of the run whose texts `store` keeps. Up to kSmallResultSize bytes it is built
    // in memory; past that it moves to a temporary file created at `path`, a failure of which
    // is kept for finish(). It may grow to the store's size limit or to the room left in the
    // temporary folder, whichever is less. `end` is added after the text by finish().
    ResultBuilder(ResultStore& store, std::string path, std::string workbook,
                  std::string_view end = "\r\n");

    // The worksheet whose cells are being added, named by the messages.
    void setSheet(std::string sheet) { sheet_ = std::move(sheet); }
    // The text is written in an encoding of its own: a byte-order mark at its start is kept as
    // bytes, not read back into text as one in the window's UTF-8 text is.
    void keepBytes() { keepBytes_ = true; }
    // Stops the result now when `bytes` more would take it past its limit; false then.
    bool expect(std::uint64_t bytes);
    // Adds text; does nothing once the result has failed.
    void append(std::string_view text);
    bool failed() const { return static_cast<bool>(failure_); }

    // Adds the end given at construction. A small text is then kept in the store's gathered
    // file; a text in the temporary file is closed there, for the store to keep. After a failure
    // the temporary file is deleted and the failure is thrown, naming the workbook, the sheet and
    // the size.
    void finish();

    const std::string& path() const { return path_; }
    // After finish(): the small text as the store keeps it; none for a text in the temporary
    // file.
    const std::optional<StoredText>& stored() const { return stored_; }
    // After finish(): the bytes of the text with its end, and whether the text begins with a
    // UTF-16 byte-order mark, which the read-back turns into text.
    std::uint64_t size() const { return size_; }
    bool startsWithByteOrderMark() const;

  private:
    // Moves the text built in memory to the temporary file.
    void spill();
    void fail(const std::string& reason);
    void failWriting(const FileError& e);
    std::string tooLarge(std::uint64_t atLeast) const;

    ResultStore& store_;
    std::string path_;
    std::string workbook_;
    std::string sheet_;
    std::string_view end_;
    std::uint64_t limit_ = 0;
    bool limitIsFreeSpace_ = false;
    std::uint64_t size_ = 0;
    std::string memory_;            // the text while it is small
    std::optional<FileSink> sink_;  // the temporary file, once the text has grown
    std::optional<StoredText> stored_;
    std::string head_;  // the first two bytes of the text
    bool keepBytes_ = false;
    std::exception_ptr failure_;
};

// The free space of the file system that holds `folder`; the largest number when it is unknown.
std::uint64_t FreeSpaceOf(const std::string& folder);

// Throws FileError, naming the workbook, the sheet and the size, when `bytes`, the least that the
// row or column results of one sheet hold together, pass the size limit of a result or would not
// fit in `freeSpace`: a sheet so large (a used range out to the sheet's far corner) is refused
// before its first cell is read, not after walking billions of empty cells.
void RequireRoomFor(std::uint64_t bytes, std::uint64_t sizeLimit, std::uint64_t freeSpace,
                    const std::string& workbook, const std::string& sheet);

}  // namespace tabulon
