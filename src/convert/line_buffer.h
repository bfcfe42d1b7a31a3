#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace torvi {

// One output line assembled character by character: conversions format
// millions of fields, each too small for string appends to pay.
class LineBuffer {
 public:
  // Empties the buffer and makes room for `capacity` characters; no put()
  // may go beyond that.
  void start(size_t capacity) {
    if (chars_.size() < capacity) chars_.resize(capacity);
    end_ = chars_.data();
  }
  void put(char c) { *end_++ = c; }
  void put(std::string_view s) {
    for (char c : s) *end_++ = c;
  }
  // A non-negative `value` right-aligned in `width` characters (wider when
  // it needs more).
  void put_right(int64_t value, int width);
  // A non-negative `value` with leading zeros to exactly `width` digits.
  void put_zero_padded(int value, int width);

  std::string_view view() const { return {chars_.data(), static_cast<size_t>(end_ - chars_.data())}; }

 private:
  std::vector<char> chars_;
  char* end_ = nullptr;
};

// Room for a number written by put_right.
inline constexpr size_t kMaxNumberChars = 20;

}  // namespace torvi
