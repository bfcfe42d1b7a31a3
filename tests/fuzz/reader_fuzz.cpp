// libFuzzer target: any bytes given to the header check and the full read
// must end in success or a message, never in a fault, and a successful read
// must leave a data set the count tables can rely on.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "data/data_reader.h"
#include "stats/count_tables.h"

namespace {

class RecordingHost : public torvi::Host {
 public:
  std::vector<std::string> messages;
  void show_error(const std::string& text) override { messages.push_back(text); }
  void show_info(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> ask_result_file(const std::string&, const std::string&) override { return {}; }
  std::optional<SeedTexts> ask_seed_texts() override { return {}; }
  void progress_begin(int64_t) override {}
  void progress_step(int64_t) override {}
  void progress_end() override {}
};

void require(bool condition) {
  if (!condition) __builtin_trap();
}

void check_data_set(const torvi::DataSet& ds) {
  require(ds.sample_size[ds.np] == ds.ni);
  for (int i = 1; i <= ds.ni; ++i) {
    require(ds.sample_of[i] >= 1 && ds.sample_of[i] <= ds.np);
    for (int l = 1; l <= ds.nl; ++l) {
      int32_t g = ds.geno(l, i);
      if (g == 0) continue;
      int a = g / ds.coding_base, b = g % ds.coding_base;
      require(a >= 1 && b >= a && b <= ds.nu);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  RecordingHost host;
  torvi::DataSet ds;
  std::istringstream header(text);
  if (!torvi::check_header(host, header, "fuzz.dat", ds)) {
    require(host.messages.size() == 1);
    return 0;
  }
  std::istringstream whole(text);
  if (!torvi::read_data_file(host, whole, "fuzz.dat", ds)) {
    require(host.messages.size() == 1);
    return 0;
  }
  require(host.messages.empty());
  check_data_set(ds);
  torvi::CountTables ct;
  ct.allocate(ds, std::make_shared<const torvi::AlleleIndex>(torvi::AlleleIndex::from_data(ds)));
  torvi::count_alleles(ds, ct);
  return 0;
}
