// Shared pieces of the export tests: a host that records what it is given, workbooks written
// from cell lists, and a private temporary folder.
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

// One delivered result as the host saw it.
struct HostRow {
    std::string name;
    std::string subItem1;
    std::string subItem2;
    std::vector<std::string> tempFilesAtDelivery;  // temporary files in the run folder right then
};

class RecordingHost : public ExportHost {
  public:
    explicit RecordingHost(const ResultStore* store = nullptr) : store_(store) {}

    std::vector<std::string> files;
    std::string option = kSaveEachBookOption;
    std::vector<ResultColumn> columns;
    std::vector<HostRow> rows;
    std::vector<std::pair<std::int32_t, std::string>> previews;
    int clears = 0;
    std::int32_t handedOver = -1;
    // Looking at the run folder at every delivery costs time in runs of many results.
    bool listTempFiles = true;

    std::int32_t fileCount() const override { return static_cast<std::int32_t>(files.size()); }
    std::string fileEntry(std::int32_t position) const override { return files.at(position - 1); }
    std::string saveOption() const override { return option; }
    void clearResults() override {
        ++clears;
        rows.clear();
        columns.clear();
    }
    void addResultColumns(const std::vector<ResultColumn>& added) override {
        columns.insert(columns.end(), added.begin(), added.end());
    }
    std::int32_t addResultRow(const std::string& name) override {
        HostRow row{name, {}, {}, {}};
        if (listTempFiles && store_ != nullptr && !store_->folder().current().empty()) {
            for (const auto& entry :
                 std::filesystem::directory_iterator(store_->folder().current())) {
                if (entry.path().extension() == ".csv")
                    row.tempFilesAtDelivery.push_back(entry.path().filename().string());
            }
        }
        rows.push_back(std::move(row));
        return static_cast<std::int32_t>(rows.size());
    }
    void setResultSubItem(std::int32_t row, int index, const std::string& text) override {
        (index == 1 ? rows.at(row - 1).subItem1 : rows.at(row - 1).subItem2) = text;
    }
    void setPreviewText(std::int32_t resultIndex, const StoredText& text) override {
        previews.emplace_back(resultIndex, text.read());
    }
    void handOver(std::int32_t total) override { handedOver = total; }

  private:
    const ResultStore* store_;
};

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

// Keeps a text in the store's folder as the next result, as an export run would.
StoredText storeText(ResultStore& store, const std::string& text);

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
    RecordingHost host{&resultTexts};
    ExportContext context{ui, ui, host, resultTexts};
};

}  // namespace tabulon::testing
