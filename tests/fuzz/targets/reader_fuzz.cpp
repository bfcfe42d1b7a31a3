// libFuzzer target: any bytes given to the header check and the full read
// must end in success or a message, never in a fault, and a successful read
// must leave a data set the count tables can rely on.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "data/data_reader.h"
#include "fuzz_host.h"
#include "model/count_tables.h"

namespace {

using torvi::fuzz::RecordingHost;
using torvi::fuzz::require;

void check_data_set(const torvi::DataSet& ds) {
  require(ds.ni >= 1 && ds.sample_size[ds.np] == ds.ni);
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
