#include "io/line_reader.h"

#include <algorithm>
#include <cstring>

#include "core/file_path.h"

namespace lw {

namespace {
constexpr long long kBufferBytes = 256 * 1024;
constexpr long long kMinBufferBytes = 4096;
}  // namespace

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
}

bool LineReader::openFile(const std::string& path) {
  if (file_) std::fclose(file_);
  text_ = {};
  file_ = lw::openFile(path, "rb");
  if (!file_) return false;
  inputSize_ = 0;
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    inputSize_ = std::ftell(file_);
    if (inputSize_ < 0) inputSize_ = 0;
  }
  rewind();
  return true;
}

void LineReader::openText(std::string_view text) {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  text_ = text;
  inputSize_ = static_cast<long long>(text.size());
  rewind();
}

void LineReader::rewind() {
  if (file_) std::fseek(file_, 0, SEEK_SET);
  textPos_ = 0;
  // Small inputs get a small buffer; it always holds several whole pieces.
  const long long wanted = std::clamp<long long>(inputSize_ + 1, kMinBufferBytes, kBufferBytes);
  if (buffer_.size() != static_cast<size_t>(wanted)) {
    buffer_.assign(static_cast<size_t>(wanted), '\0');
  }
  begin_ = folded_ = raw_ = 0;
  atEnd_ = false;
  lineNumber_ = 0;
  lastEndedLine_ = true;
}

size_t LineReader::readRaw(char* out, size_t capacity) {
  if (file_) return std::fread(out, 1, capacity, file_);
  size_t n = std::min(capacity, text_.size() - textPos_);
  std::memcpy(out, text_.data() + textPos_, n);
  textPos_ += n;
  return n;
}

// Moves the unread bytes to the front, reads more, and folds "\r\n" in the new
// bytes. A '\r' that ends the bytes read so far waits for the next refill, since
// its '\n' may follow.
void LineReader::refill() {
  char* data = buffer_.data();
  std::memmove(data, data + begin_, raw_ - begin_);
  folded_ -= begin_;
  raw_ -= begin_;
  begin_ = 0;
  while (!atEnd_ && raw_ < buffer_.size()) {
    size_t n = readRaw(data + raw_, buffer_.size() - raw_);
    if (n == 0) atEnd_ = true;
    raw_ += n;
  }
  size_t read = folded_;
  size_t write = folded_;
  while (read < raw_) {
    const char* cr = static_cast<const char*>(std::memchr(data + read, '\r', raw_ - read));
    size_t stop = cr ? static_cast<size_t>(cr - data) : raw_;
    if (write != read) std::memmove(data + write, data + read, stop - read);
    write += stop - read;
    read = stop;
    if (!cr) break;
    if (read + 1 == raw_ && !atEnd_) break;  // keep the '\r' until its follower is known
    if (read + 1 < raw_ && data[read + 1] == '\n') {
      ++read;  // drop the '\r' of "\r\n"
    } else {
      data[write++] = '\r';
      ++read;
    }
  }
  // Anything after `read` is a held-back '\r'.
  if (read < raw_) {
    std::memmove(data + write, data + read, raw_ - read);
  }
  raw_ = write + (raw_ - read);
  folded_ = write;
}

bool LineReader::next(std::string_view& piece) {
  if (folded_ - begin_ < kLinePieceChars + 1 && !atEnd_) refill();
  if (begin_ == folded_) return false;
  const char* start = buffer_.data() + begin_;
  size_t available = std::min(folded_ - begin_, kLinePieceChars);
  const char* newline = static_cast<const char*>(std::memchr(start, '\n', available));
  size_t length = newline ? static_cast<size_t>(newline - start) + 1 : available;
  begin_ += length;

  if (lastEndedLine_) ++lineNumber_;
  lastEndedLine_ = newline != nullptr;

  const char* nul = static_cast<const char*>(std::memchr(start, '\0', length));
  piece = std::string_view(start, nul ? static_cast<size_t>(nul - start) : length);
  return true;
}

}  // namespace lw
