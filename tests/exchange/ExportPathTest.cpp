// The automatic export path as the options dialog checks it, on "/" paths.

#include "../store/TempFolder.h"
#include "exchange/ExportPath.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace keystead {
namespace {

TEST(ExportPathTest, FileNameFirstThenAnExistingFullFolder)
{
    const test::TempFolder folder;
    const std::string existing = folder.path().string();
    EXPECT_EQ(CheckExportPath(existing + "/Pass.TXT"), ExportPathProblem::None);
    EXPECT_EQ(CheckExportPath(existing + "/"), ExportPathProblem::FileName);
    EXPECT_EQ(CheckExportPath(""), ExportPathProblem::FileName);
    EXPECT_EQ(CheckExportPath("passwords.txt"), ExportPathProblem::Folder);
    EXPECT_EQ(CheckExportPath("backup/passwords.txt"), ExportPathProblem::Folder) << "relative";
    EXPECT_EQ(CheckExportPath(existing + "/missing/passwords.txt"), ExportPathProblem::Folder);
    // Case counts: the same folder in other letters is another, missing folder.
    std::filesystem::create_directory(folder.path() / "Backup");
    EXPECT_EQ(CheckExportPath(existing + "/Backup/p.txt"), ExportPathProblem::None);
    EXPECT_EQ(CheckExportPath(existing + "/backup/p.txt"), ExportPathProblem::Folder);
    // A file where the folder should be.
    EXPECT_EQ(CheckExportPath(existing + "/Backup/p.txt/q.txt"), ExportPathProblem::Folder);
    EXPECT_EQ(CheckExportPath("/p.txt"), ExportPathProblem::None) << "the root is a folder";
    EXPECT_EQ(ExportFolderPart("/p.txt"), "/");
}

TEST(ExportPathTest, BrowsedFolderAndFileName)
{
    EXPECT_EQ(JoinExportPath("/home/alice", "password.txt"), "/home/alice/password.txt");
    EXPECT_EQ(JoinExportPath("/", "p.txt"), "/p.txt");
    EXPECT_EQ(ExportFileNamePart("/home/alice/Pass.TXT"), "Pass.TXT");
    EXPECT_EQ(ExportFileNamePart("Pass.TXT"), "Pass.TXT");
}

}  // namespace
}  // namespace keystead
