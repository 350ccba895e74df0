// The workbooks that tabulon-cli's paths name: workbooks as given, folders as the files of
// their tree.
#pragma once

#include <string>
#include <vector>

namespace tabulon::cli {

class Terminal;

// The file list for the paths, in order: a path that names a folder brings the files "*." +
// extension of its whole tree, as "Add All Excel Files In Folder" finds them; any other path is
// taken as given. Each folder of a tree that cannot be read is one error line
// ("tabulon-cli: FOLDER: Permission denied"); a tree that could be read but holds no matching
// file is said as well.
std::vector<std::string> workbookPaths(const std::vector<std::string>& paths,
                                       const std::string& extension, Terminal& terminal);

}  // namespace tabulon::cli
