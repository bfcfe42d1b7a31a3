#pragma once

#include <optional>
#include <string>

#include "host/host.h"
#include "ld/pair_stat.h"
#include "model/data_set.h"
#include "model/run_options.h"
#include "report/report_text.h"
#include "util/output_file.h"

namespace torvi {

// A companion file written as it is built, so that large tables and details
// never sit whole in memory, and put in place of the earlier file only when
// complete (an AtomicFile): a failed or stopped run leaves the earlier file.
class CompanionStream {
 public:
  // Starts the temporary file; throws OutputError when it cannot be created.
  void open(const std::string& path);
  bool is_open() const { return file_.has_value(); }
  ReportText& text() { return buf_; }
  // Writes what was built when enough has gathered.
  void flush_if_large();
  // Writes the rest and puts the file in place. Throws OutputError.
  void commit();

 private:
  std::optional<AtomicFile> file_;
  ReportText buf_;
};

// The four companion files of the observed phase: the contingency tables
// ("-tables.ld"), the per-pair averages of Delta' ("-dp.cd") and R^2
// ("-r2.cd"), and the line per allele pair ("-details.cd"), each written
// when its box is ticked.
class LdCompanionFiles : public LdPairObserver {
 public:
  LdCompanionFiles(Host& host, const RunOptions& opt, const std::string& base_name, const DataSet& ds,
                   const LdGenotypes& lg);

  // Lines of the Delta' and R^2 files: one per pair, one cell per sample.
  void begin_pair(int l1, int l2);
  void sample_averages(long double delta_prime, long double r2);
  void sample_not_testable();
  void end_pair(long double sd, long double sr, int64_t sn);

  // Puts every file in place once all are complete. Throws OutputError.
  void close();

  void gamete_counts_differ() override;
  bool wants_table() const override { return tables_.is_open(); }
  void table(int s, int l1, int l2, const LdTable& t) override;
  bool wants_allele_pairs() const override { return details_.is_open(); }
  void allele_pair(int s, int l1, int l2, const LdAllelePair& line) override;

 private:
  std::string genotype_label(int s, int l, int g) const;

  Host& host_;
  const DataSet& ds_;
  const LdGenotypes& lg_;
  CompanionStream tables_, dp_, r2_, details_;
};

}  // namespace torvi
