// The four export modes. They share one walk over the worksheets and differ only in where a
// result starts and ends, which cell content they take and how they show progress.
#include "core/export/ExportModes.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "core/Error.h"
#include "core/ErrorTrap.h"
#include "core/export/CellValueText.h"
#include "core/export/ReadTextFile.h"
#include "core/export/TempFolder.h"
#include "core/util/Files.h"
#include "core/util/PathText.h"
#include "core/workbook/Session.h"

namespace tabulon {
namespace {

enum class Granularity { Book, Sheet, Row, Column };

constexpr const char* kNoObject = "Object variable or With block variable not set";

int progressPercent(std::int64_t step, std::int64_t last) {
    return static_cast<int>(std::nearbyint(static_cast<double>(step + 1) / (last + 1) * 100.0));
}

// The widest used range among the sheets that the walk takes (more than one row and column).
std::int32_t widestWalked(const std::vector<const workbook::Worksheet*>& sheets) {
    std::int32_t width = 0;
    for (const workbook::Worksheet* sheet : sheets) {
        const workbook::CellRange range = sheet->usedRange();
        if (range.lastRow > 1 && range.lastCol > 1) width = std::max(width, range.lastCol);
    }
    return width;
}

class ModeRun {
  public:
    ModeRun(Granularity granularity, const char* label, ExportContext& context,
            const std::string& filePath, std::string& baseName, const std::string& separator,
            std::int32_t& resultIndex)
        : granularity_(granularity),
          context_(context),
          trap_(context.errors, label),
          filePath_(filePath),
          baseName_(baseName),
          separator_(separator),
          resultIndex_(resultIndex) {}

    void run() {
        trap_.run(100, [&] { app_ = workbook::OpenInNewExcel(filePath_, context_.passwords); });
        trap_.run(102, [&] {
            auto& books = application().workbooks();
            book_ = &books.item(books.count());
        });
        n_ = 0;
        if (granularity_ == Granularity::Book) text_.clear();
        std::vector<const workbook::Worksheet*> sheets;
        trap_.run(108, [&] { sheets = ChosenWorksheets(workbook(), context_.sheetChoice); });
        if (granularity_ == Granularity::Book) bookWidth_ = widestWalked(sheets);
        for (const workbook::Worksheet* sheet : sheets) exportWorksheet(*sheet);
        // A workbook that could not be opened, or that has none of the chosen sheets, gives no
        // result, not an empty one.
        if (granularity_ == Granularity::Book && book_ != nullptr &&
            (!sheets.empty() || context_.sheetChoice == nullptr))
            deliver(baseName_, nullptr);
        close();
    }

  private:
    workbook::Application& application() {
        if (!app_) throw Error(kNoObject);
        return *app_;
    }
    const workbook::Workbook& workbook() {
        if (book_ == nullptr) throw Error(kNoObject);
        return *book_;
    }

    void exportWorksheet(const workbook::Worksheet& sheet) {
        if (granularity_ == Granularity::Sheet) text_.clear();
        std::int32_t lastRow = 0;
        std::int32_t lastCol = 0;
        trap_.run(112, [&] { lastRow = sheet.usedRange().lastRow; });
        trap_.run(114, [&] { lastCol = sheet.usedRange().lastCol; });
        if (trap_.test(116, [&] { return lastRow <= 1 || lastCol <= 1; })) return;

        const bool byColumn = granularity_ == Granularity::Column;
        const std::int32_t outerLast = byColumn ? lastCol : lastRow;
        const std::int32_t innerLast = byColumn ? lastRow : lastCol;
        const bool useValue = granularity_ == Granularity::Row || byColumn;
        const bool date1904 = book_->date1904();
        const LineFormat& format = context_.lineFormat;
        for (std::int32_t o = 1; o <= outerLast; ++o) {
            context_.activity.processEvents();
            trap_.run(122, [&] {
                if (granularity_ == Granularity::Book) {
                    context_.activity.setProgressText("Please wait.. processing.. " +
                                                      std::to_string(o));
                } else {
                    context_.activity.setProgressValue(progressPercent(o, outerLast));
                }
            });
            context_.activity.setBusyPointer();
            if (useValue) {
                ++n_;
                text_.clear();
            }
            for (std::int32_t i = 1; i <= innerLast; ++i) {
                const std::int32_t r = byColumn ? i : o;
                const std::int32_t c = byColumn ? o : i;
                trap_.run(132, [&] {
                    if (useValue) {
                        format.appendField(text_, CellValueText(sheet.value(r, c), date1904));
                    } else {
                        format.appendField(text_, sheet.text(r, c));
                    }
                });
                if (i < innerLast || format.separatesLastCell()) text_ += separator_;
            }
            format.padLine(text_, innerLast, bookWidth_);
            text_ += "\r\n";
            if (useValue) deliver(baseName_ + "_" + std::to_string(n_), &sheet);
        }
        if (granularity_ == Granularity::Sheet) {
            ++n_;
            deliver(baseName_ + "_" + std::to_string(n_), &sheet);
        }
    }

    // Passes the text through its temporary file and hands the result on.
    void deliver(const std::string& namePart, const workbook::Worksheet* sheet) {
        std::string tempPath;
        std::string readBack;
        trap_.run(140, [&] { tempPath = TempFilePath(context_.tempFolder, namePart); });
        trap_.run(142, [&] { WriteTextFile(text_, tempPath); });
        if (trap_.test(144, [&] { return !std::filesystem::is_regular_file(tempPath); })) return;
        trap_.run(146,
                  [&] { readBack = context_.lineFormat.textReadBack(ReadTextFile(tempPath)); });
        trap_.run(148, [&] { baseName_ = StripExtension(GetFileName(filePath_)) + ".csv"; });
        std::int32_t row = 0;
        trap_.run(150, [&] { row = context_.host.addResultRow(baseName_); });
        if (sheet != nullptr) {
            trap_.run(152, [&] { context_.host.setResultSubItem(row, 1, sheet->name()); });
        }
        if (granularity_ == Granularity::Row || granularity_ == Granularity::Column) {
            trap_.run(154, [&] { context_.host.setResultSubItem(row, 2, std::to_string(n_)); });
        }
        trap_.run(156, [&] { context_.host.setPreviewText(resultIndex_, readBack); });
        trap_.run(158, [&] { context_.resultTexts.push_back(std::move(readBack)); });
        ++resultIndex_;
        DeleteFileQuietly(tempPath);
    }

    // Alerts off, workbooks closed, the instance ended and released.
    void close() {
        trap_.run(170, [&] { application().setDisplayAlerts(false); });
        trap_.run(172, [&] { application().workbooks().close(); });
        trap_.run(174, [&] { application().quit(); });
        book_ = nullptr;
        app_.reset();
    }

    Granularity granularity_;
    ExportContext& context_;
    ErrorTrap trap_;
    const std::string& filePath_;
    std::string& baseName_;
    const std::string& separator_;
    std::int32_t& resultIndex_;

    std::unique_ptr<workbook::Application> app_;
    const workbook::Workbook* book_ = nullptr;
    std::int32_t n_ = 0;
    std::int32_t bookWidth_ = 0;  // the widest of the workbook's walked sheets, in book mode
    std::string text_;
};

}  // namespace

void SaveEachBook(ExportContext& context, const std::string& FilePath, std::string& BaseName,
                  const std::string& Separator, std::int32_t& ResultIndex) {
    ModeRun(Granularity::Book, "Excel1.SaveEachBook", context, FilePath, BaseName, Separator,
            ResultIndex)
        .run();
}

void SaveEachSheet(ExportContext& context, const std::string& FilePath, std::string& BaseName,
                   const std::string& Separator, std::int32_t& ResultIndex) {
    ModeRun(Granularity::Sheet, "Excel1.SaveEachSheet", context, FilePath, BaseName, Separator,
            ResultIndex)
        .run();
}

void SaveEachRow(ExportContext& context, const std::string& FilePath, std::string& BaseName,
                 const std::string& Separator, std::int32_t& ResultIndex) {
    ModeRun(Granularity::Row, "Excel1.SaveEachRow", context, FilePath, BaseName, Separator,
            ResultIndex)
        .run();
}

void SaveEachCol(ExportContext& context, const std::string& FilePath, std::string& BaseName,
                 const std::string& Separator, std::int32_t& ResultIndex) {
    ModeRun(Granularity::Column, "Excel1.SaveEachCol", context, FilePath, BaseName, Separator,
            ResultIndex)
        .run();
}

}  // namespace tabulon
