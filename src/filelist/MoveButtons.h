// "Move Up" and "Move Down": the selected entry moves by one position.
#pragma once

namespace tabulon {

class FileListHost;

// Both ignore every error: a step that fails is skipped and the next one runs. Each ends by
// giving the list the keyboard focus.
void PushButton3_Click(FileListHost& host);
// With nothing selected in a non-empty list, the first entry becomes the selected one.
void PushButton5_Click(FileListHost& host);

}  // namespace tabulon
