// Removing entries from the file list: one by double-click or the Delete key, or all at once.
#pragma once

namespace tabulon {

class FileListHost;

// Removes the selected entry; with none selected nothing happens and nothing is reported.
void ListView1_DblClick(FileListHost& host);
// The Delete key removes the selected entry whatever the modifiers; other keys do nothing here.
void ListView1_KeyDown(FileListHost& host, int key);
// "Clear List": removes every entry without asking.
void PushButton6_Click(FileListHost& host);

}  // namespace tabulon
