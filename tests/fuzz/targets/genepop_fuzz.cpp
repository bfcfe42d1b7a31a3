// libFuzzer target: any bytes given to the Genepop conversion end in a
// message or in a data file that the data reader takes back with the same
// genotypes, never in a fault.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>

#include "convert/genepop_reader.h"
#include "convert/genepop_to_dat.h"
#include "data/data_reader.h"
#include "model/limits.h"
#include "fuzz_host.h"

namespace {

using torvi::fuzz::RecordingHost;
using torvi::fuzz::require;

// The written data file read back: every record of the Genepop file with its
// sample and genotypes.
void check_read_back(const std::string& genepop, const std::string& written, const torvi::GenepopSurvey& survey) {
  RecordingHost host;
  torvi::DataSet ds;
  std::istringstream header(written), whole(written);
  require(torvi::check_header(host, header, "back.dat", ds) && torvi::read_data_file(host, whole, "back.dat", ds));
  require(ds.ni == survey.records && ds.nl == survey.nl);
  std::istringstream again(genepop);
  torvi::GenepopReader reader(again, "fuzz.gen");
  require(reader.read_names());
  for (int i = 1; reader.next_record(); ++i) {
    require(ds.sample_of[i] == reader.sample());
    for (int l = 1; l <= ds.nl; ++l) {
      // The reader stores the smaller allele first; Genepop keeps the order written.
      const int32_t g = reader.genotypes()[static_cast<size_t>(l - 1)], base = reader.coding_base();
      require(ds.geno(l, i) / ds.coding_base == std::min(g / base, g % base));
      require(ds.geno(l, i) % ds.coding_base == std::max(g / base, g % base));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  torvi::GenepopSurvey survey;
  std::string error;
  std::istringstream first(text);
  if (!torvi::survey_genepop(first, "fuzz.gen", survey, error)) {
    require(error.rfind("Problem in the genepop file!", 0) == 0);
    return 0;
  }
  require(survey.nl >= 1 && survey.nl <= torvi::NLMax && survey.records >= 1 && survey.np >= 1);
  std::istringstream second(text);
  torvi::StringSink out;
  require(torvi::write_data_file(second, "fuzz.gen", survey, out, error));
  // The reader refuses what is over its limits or has no allele at all.
  if (survey.np <= torvi::NPMax && survey.records <= torvi::MaxInd && survey.nu >= 1)
    check_read_back(text, out.text(), survey);
  return 0;
}
