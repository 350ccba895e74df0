// Files and folders dragged from the desktop onto the file list.
#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace tabulon {

class FileListHost;

// The local paths that the dragged data lists, in native form; nothing unless it is a list of
// local files and folders only.
std::vector<std::string> DraggedFilePaths(const QMimeData& data);

// True when the list takes the dragged data: a list of local files and folders. Anything else
// gets the no-drop effect.
bool ListView1_OLEDragOver(const QMimeData& data);
// Appends the dropped files as dropped, and each dropped folder as the files of its whole tree.
void ListView1_OLEDragDrop(FileListHost& host, const QMimeData& data);

}  // namespace tabulon
