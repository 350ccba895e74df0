// "Add Excel File(s)" and "Add All Excel Files In Folder": appending workbooks to the file list.
#pragma once

namespace tabulon {

class FileListHost;

inline constexpr const char* kAddFilesTitle = "Add File(s) - Hold Ctrl to select multiple files";
// Every format Tabulon reads first, then "Excel Files (*.xl*)" as the second choice; the dialog
// separates filters with ";;".
inline constexpr const char* kAddFilesFilter =
    "Workbooks (*.xlsx *.xlsm *.xltx *.xltm *.xls *.xlsb *.ods);;Excel Files (*.xl*)";
inline constexpr const char* kTooManyFilesMessage =
    "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.";
inline constexpr const char* kExtensionPrompt =
    "Enter file extension to load:\r\r(* for all files, txt for all txt files, doc for all doc "
    "files, etc.)";
inline constexpr const char* kDefaultExtension = "xl*";
inline constexpr const char* kFolderPrompt = "Please select folder to add:";

// Appends the files chosen in the open-file dialog.
void PushButton1_Click(FileListHost& host);
// Asks for an extension and a folder, then appends the matching files of the folder's tree and
// names the folders of the tree that could not be read in one notice.
void PushButton4_Click(FileListHost& host);

}  // namespace tabulon
