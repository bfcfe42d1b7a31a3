#include "convert/genepop_writer.h"

#include "report/fixed_format.h"
#include "report/report_text.h"

namespace torvi {

namespace {

constexpr const char* kTitle = "[Put here a description of the file]";
constexpr const char* kPop = "Pop";
constexpr int kCountWidth = 5;

// `value` with leading zeros to `width` digits.
void append_zero_padded(std::string& out, int value, int width) {
  char digits[3];
  for (int d = width - 1; d >= 0; --d) {
    digits[d] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  out.append(digits, static_cast<size_t>(width));
}

}  // namespace

std::string genepop_head(int np, int nl, int nu, const std::vector<std::string>& locus_names) {
  std::string text = kTitle + integer(np, kCountWidth) + integer(nl, kCountWidth) + integer(nu, kCountWidth) + kEol;
  for (size_t l = 1; l < locus_names.size(); ++l) text += locus_names[l] + kEol;
  return text + kPop + kEol;
}

GenepopWriter::GenepopWriter(TextSink& out, int coding_base)
    : out_(out), coding_base_(coding_base), allele_width_(coding_base == 1000 ? 3 : 2) {}

void GenepopWriter::individual(int32_t sample, const int32_t* codes, int nl) {
  line_.clear();
  // The first individual is in the sample the head's "Pop" opened.
  if (index_ > 0 && sample > previous_sample_) line_ += std::string(kPop) + kEol;
  ++index_;
  previous_sample_ = sample;
  line_ += "sample " + std::to_string(sample) + " ind#" + std::to_string(index_) + " , ";
  for (int l = 0; l < nl; ++l) {
    append_zero_padded(line_, codes[l] / coding_base_, allele_width_);
    append_zero_padded(line_, codes[l] % coding_base_, allele_width_);
    line_ += ' ';
  }
  line_ += kEol;
  out_.write(line_);
}

}  // namespace torvi
