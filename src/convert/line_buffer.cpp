#include "convert/line_buffer.h"

namespace torvi {

void LineBuffer::put_right(int64_t value, int width) {
  char digits[kMaxNumberChars];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  for (int pad = width - n; pad > 0; --pad) *end_++ = ' ';
  while (n > 0) *end_++ = digits[--n];
}

void LineBuffer::put_zero_padded(int value, int width) {
  for (int d = width - 1; d >= 0; --d) {
    end_[d] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  end_ += width;
}

}  // namespace torvi
