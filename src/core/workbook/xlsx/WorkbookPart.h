// The workbook part: its sheets in order (name, relationship, visibility) and the date system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/Worksheet.h"
#include "core/workbook/ZipArchive.h"

namespace tabulon::workbook::xlsx {

struct SheetEntry {
    std::string name;
    std::string relationshipId;
    SheetVisibility visibility = SheetVisibility::Visible;
};

struct WorkbookPart {
    bool date1904 = false;
    std::vector<SheetEntry> sheets;  // every sheet kind, in workbook order
};

WorkbookPart readWorkbookPart(ZipArchive& archive, std::string_view part);

// "1" and "true" are true, as the schema's boolean allows.
bool isTrue(const char* value);

}  // namespace tabulon::workbook::xlsx
