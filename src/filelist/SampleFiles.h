// "Load Sample/Example Files": the sample workbooks installed beside the program.
#pragma once

namespace tabulon {

class FileListHost;

inline constexpr const char* kOpenSamplesQuestion =
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?";

// Appends every file of the "Samples" folder, then offers to open that folder.
void PushButton7_Click(FileListHost& host);

}  // namespace tabulon
