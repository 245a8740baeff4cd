// Saving through a temporary file: a save that fails at any byte keeps the old
// file and leaves nothing behind; files saved as one unit replace their targets
// only together.
#include "core/replacing_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/file_size_limit.h"

namespace lw {
namespace {

namespace fs = std::filesystem;

class ReplacingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("lw_replacing_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string path(const char* leaf) const { return (folder_ / leaf).string(); }
  static void put(const std::string& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }
  static std::string get(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  size_t entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {})); }

  fs::path folder_;
};

TEST_F(ReplacingFileTest, AFailedWriteAtAnyByteKeepsTheOldFile) {
  const std::string target = path("model.obj");
  const std::string fresh(5000, 'n');
  // The limit cuts the new file before its first byte, in its middle, and one
  // byte short of its end; a limit of exactly its size lets it through.
  for (long long limit : {0LL, 1LL, 2500LL, 4999LL, 5000LL}) {
    put(target, "old contents");
    bool written;
    {
      test::FileSizeLimit cap(limit);
      if (!cap.active()) GTEST_SKIP() << "no file size limits here";
      written = writeFileReplacing(target, fresh);
    }
    EXPECT_EQ(written, limit == 5000) << limit;
    EXPECT_EQ(get(target), written ? fresh : "old contents") << limit;
    EXPECT_EQ(entries(), 1u) << limit;  // no temporary file left
  }
}

TEST_F(ReplacingFileTest, FilesSavedTogetherReplaceTheirTargetsOnlyTogether) {
  put(path("a.obj"), "old a");
  put(path("a.mtl"), "old m");
  {
    std::vector<std::unique_ptr<ReplacingFile>> files;
    files.push_back(std::make_unique<ReplacingFile>(path("a.obj")));
    files.push_back(std::make_unique<ReplacingFile>(path("a.mtl")));
    files.push_back(std::make_unique<ReplacingFile>(path("absent/t.bmp")));  // cannot be created
    EXPECT_TRUE(files[0]->write("new a"));
    EXPECT_TRUE(files[1]->write("new m"));
    EXPECT_FALSE(files[2]->write("t"));
    EXPECT_FALSE(commitAll(files));
  }
  EXPECT_EQ(get(path("a.obj")), "old a");
  EXPECT_EQ(get(path("a.mtl")), "old m");
  EXPECT_EQ(entries(), 2u);

  // A taken temporary name is never written over.
  put(path("a.obj.lwtmp"), "someone's file");
  std::vector<std::unique_ptr<ReplacingFile>> files;
  files.push_back(std::make_unique<ReplacingFile>(path("a.obj")));
  files.push_back(std::make_unique<ReplacingFile>(path("a.mtl")));
  EXPECT_TRUE(files[0]->write("new a") && files[1]->write("new m"));
  EXPECT_TRUE(files[1]->finish());
  EXPECT_FALSE(files[1]->write(" more"));  // a write after the close fails the save
  EXPECT_FALSE(commitAll(files));
  files[1] = std::make_unique<ReplacingFile>(path("a.mtl"));
  EXPECT_TRUE(files[1]->write("new m"));
  EXPECT_TRUE(commitAll(files));
  EXPECT_EQ(get(path("a.obj")), "new a");
  EXPECT_EQ(get(path("a.mtl")), "new m");
  EXPECT_EQ(get(path("a.obj.lwtmp")), "someone's file");
  EXPECT_EQ(entries(), 3u);
}

TEST_F(ReplacingFileTest, SameFileComparesFilesNotSpellings) {
  put(path("m.obj"), "x");
  const std::string dotted = (folder_ / "." / "sub" / ".." / "m.obj").string();
  fs::create_directory(folder_ / "sub");
  EXPECT_TRUE(sameFile(path("m.obj"), dotted));
  EXPECT_TRUE(sameFile(path("new.obj"), (folder_ / "sub" / ".." / "new.obj").string()));
  EXPECT_FALSE(sameFile(path("m.obj"), path("m.mtl")));
  EXPECT_FALSE(sameFile(path("m.obj"), (folder_ / "sub" / "m.obj").string()));
}

}  // namespace
}  // namespace lw
