#include "convert/genepop_to_dat.h"

#include "convert/genepop_reader.h"
#include "convert/line_buffer.h"
#include "report/report_text.h"

namespace torvi {

namespace {

constexpr int kSampleWidth = 4;
constexpr int kGenotypeWidth = 6;

void advance(ConversionProgress* progress, int64_t base, const GenepopReader& reader) {
  if (progress) progress->advance_to(base + reader.bytes_read());
}

std::string first_lines(const GenepopSurvey& s) {
  std::string text = std::to_string(s.np) + ' ' + std::to_string(s.nl) + ' ' + std::to_string(s.nu) + ' ' +
                     std::to_string(s.allele_digits) + kEol;
  for (const std::string& name : s.locus_names) text += name + kEol;
  return text;
}

}  // namespace

bool survey_genepop(std::istream& in, const std::string& path, GenepopSurvey& survey, std::string& error,
                    ConversionProgress* progress, int64_t progress_base) {
  GenepopReader reader(in, path);
  if (!reader.read_names()) {
    error = reader.error();
    return false;
  }
  while (reader.next_record()) advance(progress, progress_base, reader);
  error = reader.error();
  if (!error.empty()) return false;
  if (reader.record() == 0) {
    // Without a genotype the coding of the alleles is not known either.
    error = "Problem in the genepop file!\n\r" + path + " holds no individuals.";
    return false;
  }
  survey.np = reader.sample();
  survey.nl = reader.nl();
  survey.nu = reader.max_allele();
  survey.allele_digits = reader.allele_digits();
  survey.records = reader.record();
  survey.locus_names = reader.locus_names();
  return true;
}

bool write_data_file(std::istream& in, const std::string& path, const GenepopSurvey& survey, TextSink& out,
                     std::string& error, ConversionProgress* progress, int64_t progress_base) {
  GenepopReader reader(in, path);
  if (!reader.read_names()) {
    error = reader.error();
    return false;
  }
  out.write(first_lines(survey));
  LineBuffer line;
  const size_t capacity = 2 + kMaxNumberChars + static_cast<size_t>(survey.nl) * (kMaxNumberChars + 1);
  while (reader.next_record()) {
    line.start(capacity);
    line.put_right(reader.sample(), kSampleWidth);
    line.put(' ');
    for (int32_t g : reader.genotypes()) {
      line.put_right(g, kGenotypeWidth);
      line.put(' ');
    }
    line.put(kEol);
    out.write(line.view());
    advance(progress, progress_base, reader);
  }
  error = reader.error();
  if (error.empty() && (reader.record() != survey.records || reader.sample() != survey.np ||
                        reader.locus_names() != survey.locus_names))
    error = path + " changed while it was being converted.";
  return error.empty();
}

}  // namespace torvi
