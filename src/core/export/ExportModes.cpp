// The four export modes. They share one walk over the worksheets and differ only in where a
// result starts and ends, which cell content they take and how they show progress.
#include "core/export/ExportModes.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string_view>

#include "core/Error.h"
#include "core/ErrorTrap.h"
#include "core/export/CellTextsAhead.h"
#include "core/export/CellValueText.h"
#include "core/export/ResultBuilder.h"
#include "core/util/PathText.h"
#include "core/workbook/CellReference.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/Session.h"

namespace tabulon {
namespace {

enum class Granularity { Book, Sheet, Row, Column };

int progressPercent(std::int64_t step, std::int64_t last) {
    return static_cast<int>(std::nearbyint(static_cast<double>(step + 1) / (last + 1) * 100.0));
}

// Whether a worksheet has nothing to export: its used range is A1 alone and A1 holds nothing.
// Every other sheet is exported, one that ends in row 1 or column A included.
bool holdsNothing(const workbook::Worksheet& sheet) {
    const workbook::CellRange range = sheet.usedRange();
    return range.lastRow <= 1 && range.lastCol <= 1 &&
           sheet.value(1, 1).kind == workbook::CellValue::Kind::Empty;
}

// The widest used range among the sheets that the walk exports. Their cells stay held for the
// walk; a sheet that cannot be read counts for nothing here and reports its damage when the walk
// reaches it.
std::int32_t widestWalked(const workbook::Workbook& book, const std::vector<std::size_t>& sheets) {
    std::int32_t width = 0;
    for (const std::size_t index : sheets) {
        try {
            const workbook::Worksheet& sheet = book.worksheet(index);
            if (!holdsNothing(sheet)) width = std::max(width, sheet.usedRange().lastCol);
        } catch (const workbook::ReadError&) {
        }
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
        std::vector<std::size_t> sheets;
        trap_.run(108, [&] { sheets = chosenWorksheets(workbook(), context_.sheetChoice); });
        // A workbook that could not be opened, or that has none of the chosen sheets, gives no
        // result, not an empty one.
        const bool bookResult = granularity_ == Granularity::Book && book_ != nullptr &&
                                (!sheets.empty() || context_.sheetChoice == nullptr);
        if (bookResult) {
            // Only a format that pads lines needs the width before the first line; the sheets
            // are then all read first, otherwise each is read when the walk reaches it.
            if (context_.lineFormat.padsLines()) bookWidth_ = widestWalked(*book_, sheets);
            beginResult();
        }
        for (const std::size_t index : sheets) {
            exportWorksheet(index);
            book_->release(index);
        }
        context_.activity.setCurrentSheet({});
        // A book result that lacks a sheet that could not be read would be cut: it is dropped,
        // and the sheet's error says why.
        if (bookResult && sheetUnread_) builder_.reset();
        if (bookResult) deliver(nullptr);
        // What the reader had to change to read the workbook (text cut to the cell limit).
        if (book_ != nullptr) {
            if (const std::string notice = book_->notice(); !notice.empty())
                context_.errors.reportNotice(filePath_, notice);
        }
        close();
    }

  private:
    workbook::Application& application() {
        if (!app_) throw Error(kNoObjectError);
        return *app_;
    }
    const workbook::Workbook& workbook() {
        if (book_ == nullptr) throw Error(kNoObjectError);
        return *book_;
    }

    // Starts the text of a result, built straight into the run's store.
    void beginResult() {
        builder_.reset();
        builder_.emplace(context_.resultTexts, filePath_, context_.lineFormat.textEnd());
        append(context_.lineFormat.textStart());
    }

    void append(std::string_view text) {
        if (builder_) builder_->append(text);
    }

    // False when the result cannot take `bytes` more, or has failed already: its cells are then
    // not walked.
    bool expect(std::uint64_t bytes) { return builder_ && builder_->expect(bytes); }

    // The worksheet's cells are read here, when the walk reaches it.
    void exportWorksheet(std::size_t index) {
        std::int32_t lastRow = 0;
        std::int32_t lastCol = 0;
        const workbook::Worksheet* read = nullptr;
        trap_.run(112, [&] {
            read = &workbook().worksheet(index);
            lastRow = read->usedRange().lastRow;
        });
        if (read == nullptr) sheetUnread_ = true;
        trap_.run(114, [&] {
            if (read == nullptr) throw Error(kNoObjectError);
            lastCol = read->usedRange().lastCol;
        });
        if (trap_.test(116, [&] { return read == nullptr || holdsNothing(*read); })) return;
        const workbook::Worksheet& sheet = *read;

        const std::string sheetName = sheet.name();
        context_.activity.setCurrentSheet(sheetName);
        if (granularity_ == Granularity::Sheet) beginResult();
        if (builder_) builder_->setSheet(sheetName);
        const bool byColumn = granularity_ == Granularity::Column;
        const std::int32_t outerLast = byColumn ? lastCol : lastRow;
        const std::int32_t innerLast = byColumn ? lastRow : lastCol;
        const bool useValue = granularity_ == Granularity::Row || byColumn;
        // The separators and line ends alone: a result they would take past its limit is
        // refused before any cell is read.
        const std::uint64_t lineBytes = static_cast<std::uint64_t>(innerLast) * separator_.size() +
                                        context_.lineFormat.lineEnd().size();
        bool walk = useValue || expect(lineBytes * static_cast<std::uint64_t>(outerLast));
        // Row and column results are all kept until the run ends: a sheet whose results would
        // pass the size limit together, or could not all fit in the temporary folder, is
        // refused at once rather than one at a time.
        if (useValue) {
            bool fits = false;
            trap_.run(118, [&] {
                requireRoomFor(lineBytes * static_cast<std::uint64_t>(outerLast),
                               context_.resultTexts.sizeLimit(), context_.resultTexts.freeSpace(),
                               filePath_, sheetName);
                fits = true;
            });
            if (!fits) return;
        }
        const bool date1904 = book_->date1904();
        const LineFormat& format = context_.lineFormat;
        // The cells' texts are made on both threads, ahead of the walk; the sheet is only read
        // meanwhile. The maker takes copies of what it needs: reading this thread's busy stack
        // would slow both threads down.
        const bool stored = format.storedValues();
        CellTextsAhead texts(
            outerLast, innerLast,
            [&sheet, byColumn, useValue, stored, date1904](std::int32_t o, std::int32_t i) {
                const std::int32_t r = byColumn ? i : o;
                const std::int32_t c = byColumn ? o : i;
                return stored     ? storedValueText(sheet.value(r, c), date1904)
                       : useValue ? cellValueText(sheet.value(r, c), date1904)
                                  : sheet.text(r, c);
            });
        std::string field;
        for (std::int32_t o = 1; o <= outerLast && (walk || useValue); ++o) {
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
                beginResult();
                if (builder_) builder_->setSheet(sheetName);
                walk = expect(lineBytes);
            }
            for (std::int32_t i = 1; i <= innerLast && walk; ++i) {
                const std::int32_t r = byColumn ? i : o;
                const std::int32_t c = byColumn ? o : i;
                field.clear();
                trap_.run(132, [&] {
                    if (const auto unheld = format.appendField(field, texts.take(o, i))) {
                        builder_.reset();  // a result is never kept with a character replaced
                        throw Error("cell " + workbook::cellName(r, c) + ": the character " +
                                    characterForMessage(*unheld) + " cannot be written in " +
                                    format.encoding().name() + ", the result is not saved");
                    }
                });
                append(field);
                if (i < innerLast || format.separatesLastCell()) append(separator_);
            }
            field.clear();
            format.padLine(field, innerLast, bookWidth_);
            append(field);
            append(format.lineEnd());
            if (useValue) {
                deliver(&sheet);
            } else if (!builder_ || builder_->failed()) {
                break;  // the rest of this result's cells would go nowhere
            }
        }
        if (granularity_ == Granularity::Sheet) {
            ++n_;
            deliver(&sheet);
        }
    }

    // Finishes the result's text and delivers it in one step: its record (result name, sheet
    // name, running number) and its text are kept together in the run's store. A result that
    // fails leaves nothing behind.
    void deliver(const workbook::Worksheet* sheet) {
        if (!builder_) return;
        const bool numbered =
            granularity_ == Granularity::Row || granularity_ == Granularity::Column;
        std::string resultName;
        bool delivered = false;
        trap_.run(142, [&] {
            resultName = StripExtension(GetFileName(filePath_)) + ".csv";
            builder_->finish(resultName, sheet != nullptr ? sheet->name() : std::string(),
                             numbered ? n_ : 0);
            delivered = true;
        });
        builder_.reset();
        if (!delivered) return;
        baseName_ = resultName;
        ++resultIndex_;
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
    bool sheetUnread_ = false;    // a chosen sheet's cells could not be read
    std::optional<ResultBuilder> builder_;
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
