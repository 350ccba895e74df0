// The compound-file container: streams in regular and mini sectors, both sector sizes, a DIFAT
// chain, and damaged tables that must fail quickly instead of looping or allocating.
#include <gtest/gtest.h>

#include <cstring>

#include "BiffBuilder.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/cfb/CompoundFile.h"

namespace tabulon::workbook::cfb {
namespace {

using xls::testing::compoundFile;
using xls::testing::writeTempFile;

std::string pattern(std::size_t size, unsigned seed) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 31 + seed) % 251);
    return s;
}

std::string streamOf(const std::string& file, const char* name) {
    const CompoundFile cf(writeTempFile("cfb.bin", file));
    const auto index = cf.findRootStream(name);
    if (!index) return "<missing>";
    const auto bytes = cf.readStream(*index);
    return std::string(bytes.begin(), bytes.end());
}

std::uint32_t u32At(const std::string& s, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, &s[at], 4);
    return v;
}

// The file offset of the FAT entry of a stream's first sector (512-byte sectors, one FAT sector).
std::size_t fatEntryOfFirstSector(const std::string& file, std::size_t directoryIndex) {
    const std::size_t directory = 512 * (u32At(file, 0x30) + 1);
    return 512 + 4 * u32At(file, directory + 128 * directoryIndex + 116);
}

TEST(CompoundFileTest, StreamsComeBackWhole) {
    const std::string small = pattern(100, 1);
    const std::string big = pattern(70000, 2);
    for (const unsigned shift : {9u, 12u}) {
        const std::string file =
            compoundFile({{"Small", small}, {"Workbook", big}, {"Other", pattern(5000, 3)}}, shift);
        EXPECT_EQ(streamOf(file, "small"), small) << "shift " << shift;
        EXPECT_EQ(streamOf(file, "WORKBOOK"), big) << "shift " << shift;
        EXPECT_EQ(streamOf(file, "Book"), "<missing>");
    }
}

TEST(CompoundFileTest, TablesBeyondTheHeadersListAreFollowed) {
    // More than 109 allocation-table sectors need the DIFAT chain (512-byte sectors).
    const std::string huge = pattern(7'500'000, 4);
    const std::string file = compoundFile({{"Workbook", huge}});
    EXPECT_GT(u32At(file, 0x48), 0u);
    EXPECT_EQ(streamOf(file, "Workbook"), huge);
}

TEST(CompoundFileTest, DamagedChainsFailInsteadOfLooping) {
    const std::string good = compoundFile({{"Workbook", pattern(6000, 5)}});
    const auto fails = [](const std::string& file) {
        try {
            streamOf(file, "Workbook");
        } catch (const ReadError& e) {
            return e.kind() == ReadErrorKind::DamagedContainer;
        }
        return false;
    };
    ASSERT_FALSE(fails(good));

    std::string circle = good;
    const std::size_t entry = fatEntryOfFirstSector(good, 1);
    const std::uint32_t self = static_cast<std::uint32_t>((entry - 512) / 4);
    std::memcpy(&circle[entry], &self, 4);
    EXPECT_TRUE(fails(circle));

    std::string outOfRange = good;
    const std::uint32_t far = 0x00FFFFFF;
    std::memcpy(&outOfRange[entry], &far, 4);
    EXPECT_TRUE(fails(outOfRange));

    std::string oversized = good;
    const std::uint32_t size = 0x7FFFFFFF;
    std::memcpy(&oversized[512 * (u32At(good, 0x30) + 1) + 128 + 120], &size, 4);
    EXPECT_TRUE(fails(oversized));

    EXPECT_TRUE(fails(good.substr(0, good.size() / 2)));

    std::string hugeTable = good;
    const std::uint32_t fatSectors = 0x40000000;
    std::memcpy(&hugeTable[0x2C], &fatSectors, 4);
    EXPECT_TRUE(fails(hugeTable));
}

// The streams of an encrypted package are found by name beside each other.
TEST(CompoundFileTest, EveryRootStreamIsFoundByName) {
    const std::string file = compoundFile({{"EncryptionInfo", "x"}, {"EncryptedPackage", "y"}});
    EXPECT_EQ(streamOf(file, "EncryptionInfo"), "x");
    EXPECT_EQ(streamOf(file, "EncryptedPackage"), "y");
    EXPECT_EQ(streamOf(file, "Root Entry"), "<missing>");
}

}  // namespace
}  // namespace tabulon::workbook::cfb
