// File names are CP932 bytes inside the program; on Windows they must reach the
// file system as the Unicode names they stand for.
#include "core/file_path.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace lw {
namespace {

namespace fs = std::filesystem;

class FilePath : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              (std::string("lw_file_path_") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  // The CP932 name of a file in the scratch folder.
  std::string name(const std::string& leaf) const { return folder_.string() + "/" + leaf; }

  fs::path folder_;
};

// "キャラ.txt" as CP932 bytes, and (on Windows) the same name as UTF-16.
const std::string kJapaneseLeaf = "\x83\x4c\x83\x83\x83\x89.txt";
#ifdef _WIN32
const wchar_t kJapaneseLeafWide[] = L"\u30ad\u30e3\u30e9.txt";
#endif

TEST_F(FilePath, JapaneseNamesRoundTripThroughTheFileSystem) {
  const std::string path = name(kJapaneseLeaf);
  std::FILE* out = openFile(path, "wb");
  ASSERT_NE(out, nullptr);
  EXPECT_GE(std::fputs("rig", out), 0);
  EXPECT_EQ(std::fclose(out), 0);

  EXPECT_TRUE(fileExists(path));
  std::FILE* in = openFile(path, "rb");
  ASSERT_NE(in, nullptr);
  char text[8] = {};
  EXPECT_EQ(std::fread(text, 1, sizeof text, in), 3u);
  std::fclose(in);
  EXPECT_STREQ(text, "rig");
#ifdef _WIN32
  // The name on disk is the Unicode name, not the CP932 bytes read in another code page.
  EXPECT_TRUE(fs::exists(folder_ / kJapaneseLeafWide));
  EXPECT_EQ(filePath(path).filename().wstring(), kJapaneseLeafWide);
#else
  // Here the name on disk is its UTF-8 spelling.
  EXPECT_TRUE(fs::exists(folder_ / fs::path(u8"\u30ad\u30e3\u30e9.txt")));
#endif

  EXPECT_TRUE(removeFile(path));
  EXPECT_FALSE(fileExists(path));
  EXPECT_FALSE(removeFile(path));
  EXPECT_EQ(openFile(path, "rb"), nullptr);
}

// Reading opens regular files only: a folder (or, where there is one, a device)
// would read forever or not at all.
TEST_F(FilePath, ReadingRefusesWhatIsNotARegularFile) {
  const std::string file = name("plain.txt");
  std::FILE* out = openFile(file, "wb");
  ASSERT_NE(out, nullptr);
  std::fclose(out);
  std::vector<std::pair<std::string, bool>> special = {
      {file, false}, {name("absent.txt"), false}, {folder_.string(), true}};
#ifndef _WIN32
  special.push_back({"/dev/zero", true});
#endif
  for (const auto& [path, isSpecial] : special) {
    EXPECT_EQ(isSpecialFile(path), isSpecial) << path;
    std::FILE* in = openFile(path, "rb");
    EXPECT_EQ(in != nullptr, path == file) << path;
    if (in) std::fclose(in);
  }
}

}  // namespace
}  // namespace lw
