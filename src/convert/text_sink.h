#pragma once

#include <string>
#include <string_view>

#include "util/output_file.h"

namespace torvi {

// Where a conversion writes its text: a file, or a string in tests.
class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual void write(std::string_view text) = 0;
};

class StringSink : public TextSink {
 public:
  void write(std::string_view text) override { text_ += text; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// A new file written in large blocks to a temporary file and put in place
// by commit(); dropped without commit() it leaves the older file as it was.
// Write failures throw OutputError.
class FileSink : public TextSink {
 public:
  explicit FileSink(const std::string& path) : file_(path) {}
  void write(std::string_view text) override;
  void commit();

 private:
  AtomicFile file_;
  std::string block_;
};

}  // namespace torvi
