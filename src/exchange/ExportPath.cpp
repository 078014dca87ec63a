#include "exchange/ExportPath.h"

#include <filesystem>
#include <system_error>

namespace keystead {

std::string ExportFileNamePart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExportFolderPart(std::string_view path)
{
    if (!path.starts_with('/'))
        return {};
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

bool ExportFolderExists(std::string_view path)
{
    const std::string folder = ExportFolderPart(path);
    std::error_code unreadable;
    return !folder.empty() && std::filesystem::is_directory(folder, unreadable);
}

ExportPathProblem CheckExportPath(std::string_view path)
{
    if (ExportFileNamePart(path).empty())
        return ExportPathProblem::FileName;
    if (!ExportFolderExists(path))
        return ExportPathProblem::Folder;
    return ExportPathProblem::None;
}

std::string JoinExportPath(std::string_view folder, std::string_view fileName)
{
    std::string path(folder);
    if (!path.ends_with('/'))
        path += '/';
    return path + std::string(fileName);
}

}  // namespace keystead
