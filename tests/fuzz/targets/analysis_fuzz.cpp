// libFuzzer target: a small data file generated from the input goes through
// every estimator and a few randomisations of every test, as a Run with
// every box ticked. Nothing may fault; the file is analysed, or refused with
// a message when it holds no individuals.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_host.h"
#include "random/seeds_file.h"
#include "run/run_driver.h"

using torvi::fuzz::require;

namespace {

// Reads the input a byte at a time; zeros once it is used up.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  int next(int n) { return p_ < end_ ? *p_++ % n : 0; }

 private:
  const uint8_t* p_;
  const uint8_t* end_;
};

constexpr int kSamplesMax = 4, kLociMax = 4, kAllelesMax = 6, kIndividualsMax = 24;

// A data file of at most 4 samples, 4 loci, 6 alleles and 24 individuals;
// `ni` individuals.
std::string data_file(Bytes& in, int& ni) {
  const int np = 1 + in.next(kSamplesMax), nl = 1 + in.next(kLociMax), nu = 1 + in.next(kAllelesMax);
  const int digits = 1 + in.next(3), base = digits == 1 ? 10 : digits == 2 ? 100 : 1000;
  std::string text = std::to_string(np) + " " + std::to_string(nl) + " " + std::to_string(nu) + " " +
                     std::to_string(digits) + "\n";
  for (int l = 1; l <= nl; ++l) text += "loc" + std::to_string(l) + "\n";
  ni = in.next(kIndividualsMax + 1);
  int sample = 1;
  for (int i = 0; i < ni; ++i) {
    sample = std::min(np, sample + in.next(2));  // grouped by sample, ascending
    text += std::to_string(sample);
    for (int l = 1; l <= nl; ++l) {
      const bool typed = in.next(4) != 0;
      const int a = typed ? 1 + in.next(nu) : 0, b = typed ? 1 + in.next(nu) : 0;
      text += " " + std::to_string(a * base + b);
    }
    text += "\n";
  }
  return text;
}

torvi::RunOptions every_box(Bytes& in) {
  torvi::RunOptions o;
  o.CB_genotfreq = o.CB_Rar = o.CB_fis = o.CB_Rst = o.CB_Fstpp = o.CB_IFis = o.CB_PPFst = true;
  o.CB_HWW = o.CB_HWO = true;
  o.SpinEdit1 = o.SpinEdit2 = 200;  // the fewest the global tests accept
  o.RG_popdif = in.next(2) ? torvi::PopDiff::not_assuming_hw : torvi::PopDiff::assuming_hw;
  o.SpinEdit3 = o.SpinEdit4 = 200;
  o.RG_MT = o.RG_MTG = torvi::NominalLevel::fixed;
  o.SpinEdit5 = o.SpinEdit8 = 20;
  o.CB_dp = o.CB_r = o.CB_details = o.CB_Savetables = true;
  o.RG_GDT = in.next(2) ? torvi::LdTests::all_pairs : torvi::LdTests::pairs_in_each_sample;
  return o;
}

std::string scratch_folder() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir && *dir ? dir : "/tmp") + "/torvi-analysis-fuzz-" + std::to_string(::getpid());
  std::filesystem::create_directories(path);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = scratch_folder();
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  Bytes in(data, size);
  torvi::RunSettings settings;
  settings.options = every_box(in);
  settings.threads = 1 + in.next(2);
  int ni = 0;
  const std::string text = data_file(in, ni);
  const std::string path = folder + "/f.dat";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  std::filesystem::remove(folder + "/f.out");
  settings.file_list = {path};

  torvi::fuzz::RecordingHost host;
  torvi::Rng rng(12345, 67890);
  torvi::NbPerm nb;
  torvi::RunOutcome out = torvi::run_files(host, rng, nb, settings, folder + "/" + torvi::kSeedsFileName);
  require(ni > 0 ? out.files_done == 1 : out.files_failed == 1);
  require(out.seeds_saved && torvi::seeds_in_range(rng.seed1, rng.seed2));
  return 0;
}
