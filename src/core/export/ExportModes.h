// The four export modes: one workbook into CSV results, per workbook, sheet, row or column.
#pragma once

#include <cstdint>
#include <string>

#include "core/export/ExportContext.h"

namespace tabulon {

// Each mode opens the workbook in a private engine instance, builds the CSV text of its results
// from the context's chosen sheets in the context's line format (the window's: every cell
// followed by Separator, every line ended by CR LF, nothing quoted) straight into the run's
// result store and delivers each result there in one step. BaseName is overwritten with the
// result name; ResultIndex counts the delivered results across the whole run. Failing steps are
// reported through the context's error reporter and the mode goes on with the next step.
void SaveEachBook(ExportContext& context, const std::string& FilePath, std::string& BaseName,
                  const std::string& Separator, std::int32_t& ResultIndex);
void SaveEachSheet(ExportContext& context, const std::string& FilePath, std::string& BaseName,
                   const std::string& Separator, std::int32_t& ResultIndex);
void SaveEachRow(ExportContext& context, const std::string& FilePath, std::string& BaseName,
                 const std::string& Separator, std::int32_t& ResultIndex);
void SaveEachCol(ExportContext& context, const std::string& FilePath, std::string& BaseName,
                 const std::string& Separator, std::int32_t& ResultIndex);

}  // namespace tabulon
