// Shared pieces of the export tests: a host that records what it is given, workbooks written
// from cell lists, results delivered as the export modes deliver them, and a private temporary
// folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ScratchFolder.h"
#include "ScriptedUi.h"
#include "XlsxPackage.h"
#include "core/export/ExportContext.h"
#include "core/export/ResultStore.h"
#include "core/export/SaveOptions.h"

namespace tabulon::testing {

// The program around an export run: a file list and an option, and what the run did to the
// results list. The results themselves are the records of the run's store.
class RecordingHost : public ExportHost {
  public:
    std::vector<std::string> files;
    std::string option = kSaveEachBookOption;
    std::vector<ResultColumn> columns;
    int clears = 0;
    std::int32_t handedOver = -1;

    std::int32_t fileCount() const override { return static_cast<std::int32_t>(files.size()); }
    std::string fileEntry(std::int32_t position) const override { return files.at(position - 1); }
    std::string saveOption() const override { return option; }
    void clearResults() override {
        ++clears;
        columns.clear();
    }
    void addResultColumns(const std::vector<ResultColumn>& added) override {
        columns.insert(columns.end(), added.begin(), added.end());
    }
    void handOver(std::int32_t total) override { handedOver = total; }
};

// The sheet names of a store's results, in order.
std::vector<std::string> sheetsOf(const ResultStore& results);

// A cell of a hand-written sheet: a reference such as "B3" and its content. Contents that
// parse as numbers are numbers, "#N/A" and the like are error values, anything else is text.
struct CellSpec {
    std::string ref;
    std::string content;
};

std::string sheetDataXml(const std::vector<CellSpec>& cells);

struct SheetSpec {
    std::string name;
    std::vector<CellSpec> cells;
};

// Writes an xlsx workbook with these worksheets and returns its path.
std::string writeWorkbook(const ScratchFolder& folder, const std::string& fileName,
                          const std::vector<SheetSpec>& sheets);

// Delivers `text` as the next result, as an export mode does (without the text's end).
void keepResult(ResultStore& store, const std::string& text, const std::string& name = "Book1.csv",
                const std::string& sheet = "", std::int32_t number = 0);

// TEMP set to a folder for the lifetime of this object, and set back afterwards.
class TempEnvironment {
  public:
    explicit TempEnvironment(const std::string& folder);
    ~TempEnvironment();
    TempEnvironment(const TempEnvironment&) = delete;
    TempEnvironment& operator=(const TempEnvironment&) = delete;

  private:
    std::optional<std::string> previous_;
};

// An export context over a recording host and a scripted user interface, with TEMP set to a
// folder of its own.
struct ExportFixture {
    ScratchFolder workbooks;
    ScratchFolder temp;
    TempEnvironment tempEnvironment{temp.path().string()};
    ScriptedUi ui;
    ResultStore resultTexts;
    RecordingHost host;
    ExportContext context{ui, ui, host, resultTexts};
};

}  // namespace tabulon::testing
