#include "run/data_set_lifecycle.h"

#include "data/data_reader.h"

namespace torvi {

bool create_data_set(Host& host, const std::string& path, Analysis& an) {
  DataSet& ds = an.ds;
  // The reader takes the allele coding from the header check of Open; a
  // caller that skipped Open gets that check here.
  if (ds.coding_base == 0 && !check_header(host, path, ds)) return false;
  if (!read_data_file(host, path, ds)) return false;
  an.alleles = std::make_shared<const AlleleIndex>(AlleleIndex::from_data(ds));
  an.ct.allocate(ds, an.alleles);
  an.wc.allocate(an.ct);
  an.g.allocate(ds.nl);
  an.fis_sample_locus.assign((static_cast<size_t>(ds.np) + 1) * (static_cast<size_t>(ds.nl) + 1), na_value);
  return true;
}

void release_data_set(Analysis& an) {
  // Keep what survives between runs: the coding and the selections.
  DataSet kept;
  kept.allele_digits = an.ds.allele_digits;
  kept.coding_base = an.ds.coding_base;
  kept.sample_names = std::move(an.ds.sample_names);
  kept.locus_selected = std::move(an.ds.locus_selected);
  kept.sample_selected = std::move(an.ds.sample_selected);
  an.ds = std::move(kept);
  an.alleles.reset();
  an.ct = CountTables();
  an.wc = WcState();
  an.g = GState();
  an.fis_sample_locus = std::vector<long double>();
}

}  // namespace torvi
