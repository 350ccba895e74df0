// Files and folders dragged from the desktop onto the file list, or given to the program when
// it starts.
#pragma once

#include <QStringList>
#include <string>
#include <vector>

class QMimeData;

namespace tabulon {

class FileListHost;

// The local paths that the dragged data lists, in native form; nothing unless it is a list of
// local files and folders only.
std::vector<std::string> draggedFilePaths(const QMimeData& data);

// True when the list takes the dragged data: a list of local files and folders. Anything else
// gets the no-drop effect.
bool ListView1_OLEDragOver(const QMimeData& data);
// Appends the dropped files as dropped, and each dropped folder as the files of its whole tree;
// then names the folders of those trees that could not be read in one notice.
void ListView1_OLEDragDrop(FileListHost& host, const QMimeData& data);

// The paths given to the program when it starts (by "Open With" or on a command line), in
// native form; a relative path is taken from the current folder, as the drop's paths are full.
std::vector<std::string> startPaths(const QStringList& arguments);
// Appends the paths as a drop of the same files and folders does, with the same notice.
void addDroppedPaths(FileListHost& host, const std::vector<std::string>& paths);

}  // namespace tabulon
