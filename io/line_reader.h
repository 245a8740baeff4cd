// Line-by-line reading of the program's text files (OBJ, TLO, MTL), the way the
// C library's fgets with a 500-byte buffer reads a file opened in text mode on
// Windows:
//  - a piece is at most kLinePieceChars bytes; a longer line arrives in several
//    pieces, each of which the readers examine as if it were a line;
//  - a piece keeps its '\n' (when it has one);
//  - "\r\n" is read as "\n" (a lone '\r' stays);
//  - the text of a piece ends at its first NUL byte, as a C string would.
// The same reader works over a file or over text in memory (the fuzzers use it).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// Bytes of one piece: the 500-byte buffer less its terminating NUL.
inline constexpr size_t kLinePieceChars = 499;

class LineReader {
 public:
  LineReader() = default;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  ~LineReader();

  // Opens `path` for reading. False when it cannot be opened.
  bool openFile(const std::string& path);
  // Reads `text` instead of a file; the text must outlive the reader.
  void openText(std::string_view text);

  // The next piece, or false at the end of the input. The view stays valid
  // until the next call to next() or rewind().
  bool next(std::string_view& piece);

  // Starts again at the beginning of the input.
  void rewind();

  // 1-based number of the line the last piece returned by next() belongs to.
  int lineNumber() const { return lineNumber_; }

  // Size of the input in bytes (as stored, before "\r\n" is folded).
  long long inputSize() const { return inputSize_; }

 private:
  void refill();
  size_t readRaw(char* out, size_t capacity);

  std::FILE* file_ = nullptr;
  std::string_view text_;
  size_t textPos_ = 0;
  long long inputSize_ = 0;

  std::vector<char> buffer_;
  size_t begin_ = 0;   // start of the next piece
  size_t folded_ = 0;  // end of the bytes whose "\r\n" pairs are folded
  size_t raw_ = 0;     // end of the bytes read from the input
  bool atEnd_ = false;  // the input has no more bytes
  int lineNumber_ = 0;
  bool lastEndedLine_ = true;
};

}  // namespace lw
