#include "convert/genepop_writer.h"

#include "report/fixed_format.h"
#include "report/report_text.h"

namespace torvi {

namespace {

constexpr const char* kTitle = "[Put here a description of the file]";
constexpr const char* kPop = "Pop";
constexpr int kCountWidth = 5;

constexpr size_t kLabelChars = 32;  // "sample S ind#J , " and the line ends

}  // namespace

std::string genepop_head(int np, int nl, int nu, const std::vector<std::string>& locus_names) {
  std::string text = kTitle + integer(np, kCountWidth) + integer(nl, kCountWidth) + integer(nu, kCountWidth) + kEol;
  for (size_t l = 1; l < locus_names.size(); ++l) text += locus_names[l] + kEol;
  return text + kPop + kEol;
}

GenepopWriter::GenepopWriter(TextSink& out, int coding_base)
    : out_(out), coding_base_(coding_base), allele_width_(coding_base == 1000 ? 3 : 2) {}

void GenepopWriter::individual(int32_t sample, const int32_t* codes, int nl) {
  line_.start(kLabelChars + 2 * kMaxNumberChars + static_cast<size_t>(nl) * (2 * allele_width_ + 1));
  // The first individual is in the sample the head's "Pop" opened.
  if (index_ > 0 && sample > previous_sample_) {
    line_.put(kPop);
    line_.put(kEol);
  }
  ++index_;
  previous_sample_ = sample;
  line_.put("sample ");
  line_.put_right(sample, 0);
  line_.put(" ind#");
  line_.put_right(index_, 0);
  line_.put(" , ");
  for (int l = 0; l < nl; ++l) {
    const int32_t code = codes[l];
    line_.put_zero_padded(coding_base_ == 1000 ? code / 1000 : code / coding_base_, allele_width_);
    line_.put_zero_padded(coding_base_ == 1000 ? code % 1000 : code % coding_base_, allele_width_);
    line_.put(' ');
  }
  line_.put(kEol);
  out_.write(line_.view());
}

}  // namespace torvi
