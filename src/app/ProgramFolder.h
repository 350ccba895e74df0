// Where the program finds its own files: the pointer files, the samples and the skin file.
#pragma once

#include <QString>

namespace tabulon {

// The program folder for an executable in executableFolder: that folder itself when it holds
// any of the program's files (the layout of a program folder, and of the build tree);
// otherwise the data folder that an installation under a prefix puts beside the executable's
// folder (PREFIX/share/tabulon for PREFIX/bin) when it exists; otherwise executableFolder.
QString programFolderFor(const QString& executableFolder);

// The program folder of the running executable.
QString programFolder();

}  // namespace tabulon
