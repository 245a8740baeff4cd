// The line reader cuts a file into the pieces fgets with a 500-byte buffer gives.
#include "io/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lw {
namespace {

std::vector<std::string> pieces(const std::string& text, std::vector<int>* lines = nullptr) {
  LineReader reader;
  reader.openText(text);
  std::vector<std::string> out;
  std::string_view piece;
  while (reader.next(piece)) {
    out.emplace_back(piece);
    if (lines) lines->push_back(reader.lineNumber());
  }
  return out;
}

TEST(LineReader, LongLinesArriveInPiecesOf499Bytes) {
  std::string longLine(1000, 'a');
  std::vector<int> lines;
  auto got = pieces("v 1\n" + longLine + "\nlast", &lines);
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[0], "v 1\n");
  EXPECT_EQ(got[1], std::string(499, 'a'));
  EXPECT_EQ(got[2], std::string(499, 'a'));
  EXPECT_EQ(got[3], "aa\n");
  EXPECT_EQ(got[4], "last");
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 2, 2, 3}));
}

TEST(LineReader, ExactlyFullPieceLeavesTheNewlineAlone) {
  auto got = pieces(std::string(499, 'b') + "\nx\n");
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[1], "\n");
  EXPECT_EQ(got[2], "x\n");
}

TEST(LineReader, FoldsCrLfButKeepsLoneCr) {
  auto got = pieces("a\r\nb\rc\r\n\r\n\r");
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0], "a\n");
  EXPECT_EQ(got[1], "b\rc\n");
  EXPECT_EQ(got[2], "\n");
  EXPECT_EQ(got[3], "\r");
}

TEST(LineReader, TextEndsAtNulButThePieceIsConsumed) {
  std::string text("v 1 2\0 junk\nf\n", 14);
  auto got = pieces(text);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], "v 1 2");
  EXPECT_EQ(got[1], "f\n");
}

// Pieces and "\r\n" pairs that straddle the reader's internal buffer refills.
TEST(LineReader, CrLfAcrossBufferBoundariesAndRewind) {
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; text.size() < 700000; ++i) {
    std::string line(static_cast<size_t>(i % 37), static_cast<char>('a' + i % 26));
    text += line + "\r\n";
    expected.push_back(line + "\n");
  }
  LineReader reader;
  reader.openText(text);
  for (int pass = 0; pass < 2; ++pass) {
    std::string_view piece;
    size_t n = 0;
    while (reader.next(piece)) {
      ASSERT_LT(n, expected.size());
      ASSERT_EQ(piece, expected[n]) << "piece " << n;
      ++n;
    }
    EXPECT_EQ(n, expected.size());
    reader.rewind();
  }
}

TEST(LineReader, MissingFileDoesNotOpen) {
  LineReader reader;
  EXPECT_FALSE(reader.openFile("/nonexistent/folder/file.obj"));
}

}  // namespace
}  // namespace lw
