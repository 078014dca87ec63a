// The version reader on the built program, and on files without a version block.

#include "../store/TempFolder.h"
#include "session/rsFileVersion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <vector>

namespace keystead::test {

namespace {

void writeWords(const std::filesystem::path& file, const std::vector<std::uint32_t>& words, std::size_t lead)
{
    std::ofstream out(file, std::ios::binary);
    out << std::string(lead, '\x7f');
    for (const std::uint32_t word : words) {
        for (int shift = 0; shift < 32; shift += 8)
            out.put(static_cast<char>(word >> shift & 0xFF));
    }
}

void expectCleared(const TrsFileVersion& version)
{
    EXPECT_EQ(version.versionText(), "");
    EXPECT_EQ(version.majorVersion(), 0);
    EXPECT_EQ(version.minorVersion(), 0);
    EXPECT_EQ(version.releaseNumber(), 0);
    EXPECT_EQ(version.buildNumber(), 0);
}

TEST(FileVersionTest, ReadsTheProgramsOwnVersion)
{
    TrsFileVersion version;
    ASSERT_TRUE(version.Load(KEYSTEAD_EXECUTABLE));
    EXPECT_EQ(version.versionText(), "3.4.0");
    EXPECT_EQ(version.majorVersion(), 3);
    EXPECT_EQ(version.minorVersion(), 4);
    EXPECT_EQ(version.releaseNumber(), 0);
    EXPECT_EQ(version.buildNumber(), 56);
}

TEST(FileVersionTest, FilesWithoutABlockClearTheFields)
{
    const TempFolder folder;
    const auto file = folder.path() / "plain.bin";
    TrsFileVersion version;
    ASSERT_TRUE(version.Load(KEYSTEAD_EXECUTABLE));

    writeWords(file, {0x12345678, 0xFEEF04BD, 0x00020000, 0x00010002, 0x00030004}, 3);
    EXPECT_FALSE(version.Load(file));
    expectCleared(version);

    EXPECT_FALSE(version.Load(folder.path() / "missing.exe"));
    expectCleared(version);
}

TEST(FileVersionTest, FindsABlockAnywhereThatFitsInTheFile)
{
    const TempFolder folder;
    const auto file = folder.path() / "versioned.bin";
    std::vector<std::uint32_t> block(13, 0);
    block[0] = 0xFEEF04BD;
    block[1] = 0x00010000;
    block[2] = 0x000A0002;   // 10.2
    block[3] = 0xFFFF0007;   // .65535.7
    TrsFileVersion version;
    // The reader takes the file in parts of 64 KiB: a block may start anywhere around a seam.
    std::vector<std::size_t> leads{5};
    for (std::size_t lead = 65536 - 13 * 4 - 1; lead <= 65536 + 1; ++lead)
        leads.push_back(lead);
    for (const std::size_t lead : leads) {
        writeWords(file, block, lead);
        ASSERT_TRUE(version.Load(file)) << "block at " << lead;
        EXPECT_EQ(version.versionText(), "10.2.65535");
        EXPECT_EQ(version.buildNumber(), 7);
    }

    block.pop_back();   // the block no longer fits
    writeWords(file, block, 5);
    EXPECT_FALSE(version.Load(file));
    expectCleared(version);
}

}  // namespace

}  // namespace keystead::test
