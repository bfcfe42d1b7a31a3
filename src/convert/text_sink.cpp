#include "convert/text_sink.h"

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

}  // namespace torvi
