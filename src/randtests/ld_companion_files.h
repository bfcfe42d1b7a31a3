#pragma once

#include <cstdio>
#include <string>

#include "data/data_set.h"
#include "host/host.h"
#include "randtests/ld_pair_stat.h"
#include "report/report_text.h"
#include "run/run_options.h"

namespace torvi {

// A companion file created anew and written as it is built, so that large
// tables and details never sit whole in memory.
class CompanionStream {
 public:
  CompanionStream() = default;
  CompanionStream(const CompanionStream&) = delete;
  CompanionStream& operator=(const CompanionStream&) = delete;
  ~CompanionStream();

  // False when the file cannot be created; the stream then stays closed.
  bool open(const std::string& path);
  bool is_open() const { return file_ != nullptr; }
  ReportText& text() { return buf_; }
  // Writes what was built when enough has gathered.
  void flush_if_large();
  // Writes the rest and closes; false when any write failed.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  ReportText buf_;
  bool ok_ = true;
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

  // Closes every file; a file that could not be written is noted to the host.
  void close();

  void gamete_counts_differ() override;
  bool wants_table() const override { return tables_.is_open(); }
  void table(int s, int l1, int l2, const LdTable& t) override;
  bool wants_allele_pairs() const override { return details_.is_open(); }
  void allele_pair(int s, int l1, int l2, const LdAllelePair& line) override;

 private:
  void open(CompanionStream& stream, bool wanted, const std::string& path);
  std::string genotype_label(int s, int l, int g) const;

  Host& host_;
  const DataSet& ds_;
  const LdGenotypes& lg_;
  CompanionStream tables_, dp_, r2_, details_;
  std::string tables_path_, dp_path_, r2_path_, details_path_;
};

}  // namespace torvi
