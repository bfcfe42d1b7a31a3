#include "convert/text_sink.h"

#include <charconv>

namespace torvi {

namespace {

constexpr size_t kBlockSize = 1 << 20;

}  // namespace

void FileSink::write(std::string_view text) {
  block_ += text;
  if (block_.size() >= kBlockSize) {
    file_.write(block_);
    block_.clear();
  }
}

void FileSink::commit() {
  file_.write(block_);
  block_.clear();
  file_.commit();
}

void append_right(std::string& out, int64_t value, int width) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const int n = static_cast<int>(end - digits);
  if (n < width) out.append(static_cast<size_t>(width - n), ' ');
  out.append(digits, end);
}

}  // namespace torvi
