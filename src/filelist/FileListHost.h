// What the file list's handlers see of the window that holds the list.
#pragma once

#include <QString>

#include "core/ui/Activity.h"
#include "core/ui/Dialogs.h"
#include "core/ui/ErrorReporter.h"
#include "widgets/MousePointer.h"

class QPushButton;

namespace tabulon {

class ListView;
class SettingsStore;

// The buttons that act on the list.
struct FileListButtons {
    QPushButton* addFiles;   // "Add Excel File(s)"
    QPushButton* addFolder;  // "Add All Excel Files In Folder"
    QPushButton* moveUp;
    QPushButton* moveDown;
    QPushButton* clear;    // "Clear List"
    QPushButton* samples;  // "Load Sample/Example Files"
};

class FileListHost {
  public:
    virtual ~FileListHost() = default;
    // The list of workbook paths.
    virtual ListView& fileList() const = 0;
    virtual Dialogs& dialogs() const = 0;
    virtual ErrorReporter& errors() const = 0;
    virtual SettingsStore& settings() const = 0;
    // The folder that holds the program, its pointer files and the sample workbooks.
    virtual QString programFolder() const = 0;
    // The busy pointer and the event passes while a folder's tree is searched.
    virtual Activity& activity() = 0;
    // True while an export runs: inputs that would change the list are ignored meanwhile.
    virtual bool exportRunning() const = 0;
    virtual MousePointer mousePointer() const = 0;
    virtual void setMousePointer(MousePointer pointer) = 0;
};

}  // namespace tabulon
