// The text of one result as it is built into the run's store: stopped with a message naming the
// workbook, the sheet and the size when it would pass its size limit, and dropped on any failure.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace tabulon {

class FileError;
class ResultStore;

class ResultBuilder {
  public:
    // A result of `workbook` in `store`. It may grow to the store's size limit or to the room
    // left in the temporary folder, whichever is less. `end` is added after the text by finish().
    ResultBuilder(ResultStore& store, std::string workbook, std::string_view end = "\r\n");
    // Drops a text that was not delivered.
    ~ResultBuilder();
    ResultBuilder(const ResultBuilder&) = delete;
    ResultBuilder& operator=(const ResultBuilder&) = delete;

    // The worksheet whose cells are being added, named by the messages.
    void setSheet(std::string sheet) { sheet_ = std::move(sheet); }
    // Stops the result now when `bytes` more would take it past its limit; false then.
    bool expect(std::uint64_t bytes);
    // Adds text; does nothing once the result has failed.
    void append(std::string_view text);
    bool failed() const { return static_cast<bool>(failure_); }

    // Adds the end and delivers the result with these names. After a failure the text is
    // dropped and the failure thrown, naming the workbook, the sheet and the size.
    void finish(std::string_view name, std::string_view sheet, std::int32_t number);

  private:
    void fail(const std::string& reason);
    void failWriting(const FileError& e);
    std::string tooLarge(std::uint64_t atLeast) const;

    ResultStore& store_;
    std::string workbook_;
    std::string sheet_;
    std::string_view end_;
    std::uint64_t limit_ = 0;
    bool limitIsFreeSpace_ = false;
    std::uint64_t size_ = 0;
    bool delivered_ = false;
    std::exception_ptr failure_;
};

// Throws FileError, naming the workbook, the sheet and the size, when `bytes`, the least that the
// row or column results of one sheet hold together, pass the size limit of a result or would not
// fit in `freeSpace`: a sheet so large (a used range out to the sheet's far corner) is refused
// before its first cell is read, not after walking billions of empty cells.
void requireRoomFor(std::uint64_t bytes, std::uint64_t sizeLimit, std::uint64_t freeSpace,
                    const std::string& workbook, const std::string& sheet);

}  // namespace tabulon
