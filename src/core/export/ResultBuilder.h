// The text of one result, written to its temporary file while it is built, so that memory does
// not grow with the text; a result that would pass its size limit is stopped.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

#include "core/util/FileSink.h"

namespace tabulon {

class FileError;

class ResultBuilder {
  public:
    // Creates the temporary file at `path`. The result may grow to `sizeLimit` bytes or to
    // `freeSpace`, the room left in the file's folder, whichever is less. A failure is kept for
    // finish().
    // `end` is written after the text by finish().
    ResultBuilder(std::string path, std::uint64_t sizeLimit, std::uint64_t freeSpace,
                  std::string workbook, std::string_view end = "\r\n");

    // The worksheet whose cells are being added, named by the messages.
    void setSheet(std::string sheet) { sheet_ = std::move(sheet); }
    // Stops the result now when `bytes` more would take it past its limit; false then.
    bool expect(std::uint64_t bytes);
    // Adds text; does nothing once the result has failed.
    void append(std::string_view text);
    bool failed() const { return static_cast<bool>(failure_); }

    // Adds the end given at construction and closes the file. After a failure the file is deleted
    // and the failure is thrown, naming the workbook, the sheet and the size.
    void finish();

    const std::string& path() const { return path_; }
    // After finish(): the bytes written, and whether the text begins with a UTF-16 byte-order
    // mark, which the read-back turns into text.
    std::uint64_t size() const { return sink_ ? sink_->size() : 0; }
    bool startsWithByteOrderMark() const;

  private:
    void fail(const std::string& reason);
    void failWriting(const FileError& e);
    std::string tooLarge(std::uint64_t atLeast) const;

    std::string path_;
    std::string workbook_;
    std::string sheet_;
    std::string_view end_;
    std::uint64_t limit_ = 0;
    bool limitIsFreeSpace_ = false;
    std::optional<FileSink> sink_;
    std::string head_;  // the first two bytes of the text
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
