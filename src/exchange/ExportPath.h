#pragma once
// The rules of the automatic export path: its file name part, its folder part and whether the
// options dialog accepts it. Paths use "/"; only a full path names a folder, since a relative one
// would land wherever the program happened to start.

#include <string>
#include <string_view>

namespace keystead {

// The text after the last "/"; the whole text when it has none.
std::string ExportFileNamePart(std::string_view path);
// The text before the last "/" ("/" itself for a file in the root); empty for a path that does not
// start at the root.
std::string ExportFolderPart(std::string_view path);
// The folder part names an existing folder.
bool ExportFolderExists(std::string_view path);

enum class ExportPathProblem { None, FileName, Folder };
// The file name part is checked first, then the folder.
ExportPathProblem CheckExportPath(std::string_view path);

// A folder chosen in the folder picker and a file name: one "/" between them.
std::string JoinExportPath(std::string_view folder, std::string_view fileName);

}  // namespace keystead
