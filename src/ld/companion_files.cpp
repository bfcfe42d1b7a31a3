#include "ld/companion_files.h"

#include <algorithm>

namespace torvi {

namespace {

constexpr size_t kFlushSize = 1 << 16;

}  // namespace

void CompanionStream::open(const std::string& path) { file_.emplace(path); }

void CompanionStream::flush_if_large() {
  if (!file_ || buf_.str().size() < kFlushSize) return;
  file_->write(buf_.str());
  buf_.clear();
}

void CompanionStream::commit() {
  if (!file_) return;
  file_->write(buf_.str());
  buf_.clear();
  file_->commit();
}

LdCompanionFiles::LdCompanionFiles(Host& host, const RunOptions& opt, const std::string& base_name,
                                   const DataSet& ds, const LdGenotypes& lg)
    : host_(host), ds_(ds), lg_(lg) {
  if (opt.CB_Savetables) tables_.open(base_name + "-tables.ld");
  if (opt.CB_dp) dp_.open(base_name + "-dp.cd");
  if (opt.CB_r) r2_.open(base_name + "-r2.cd");
  if (opt.CB_details) details_.open(base_name + "-details.cd");
  if (details_.is_open()) {
    details_.text() << "   pop";
    for (const char* h : {"  loc1(al)X  loc2(al)", "       N", "      pA", "      pB", "      cA", "      cB",
                          "     nAB", "   Delta", "     RAB", "  Delta'"})
      details_.text().cell(h);
    details_.text().eol();
  }
}

void LdCompanionFiles::begin_pair(int l1, int l2) {
  const std::string label = ds_.locus_names[l1] + " X " + ds_.locus_names[l2] + col_sep;
  for (CompanionStream* f : {&dp_, &r2_})
    if (f->is_open()) f->text() << label;
}

void LdCompanionFiles::sample_averages(long double delta_prime, long double r2) {
  if (dp_.is_open()) dp_.text().cell(fixed(delta_prime, 8, 5));
  if (r2_.is_open()) r2_.text().cell(fixed(r2, 8, 5));
}

void LdCompanionFiles::sample_not_testable() {
  for (CompanionStream* f : {&dp_, &r2_})
    if (f->is_open()) f->text().cell(kNA8);
}

void LdCompanionFiles::end_pair(long double sd, long double sr, int64_t sn) {
  if (dp_.is_open()) dp_.text().cell(sn == 0 ? kNA8 : fixed(sd / sn, 8, 5)).eol();
  if (r2_.is_open()) r2_.text().cell(sn == 0 ? kNA8 : fixed(sr / sn, 8, 5)).eol();
  for (CompanionStream* f : {&tables_, &dp_, &r2_, &details_}) f->flush_if_large();
}

void LdCompanionFiles::close() {
  for (CompanionStream* f : {&tables_, &dp_, &r2_, &details_}) f->commit();
}

void LdCompanionFiles::gamete_counts_differ() {
  host_.show_error("Counts of gametes for 1st and second locus different!");
}

std::string LdCompanionFiles::genotype_label(int s, int l, int g) const {
  int i, j;
  lg_.alleles_of(l, lg_.present_genotype(s, l, g), i, j);
  int a = lg_.allele_id(l, i), b = lg_.allele_id(l, j);
  return std::to_string(std::min(a, b)) + std::to_string(std::max(a, b));
}

void LdCompanionFiles::table(int s, int l1, int l2, const LdTable& t) {
  ReportText& out = tables_.text();
  out.line("Sample " + ds_.sample_names[s] + " for " + ds_.locus_names[l1] + " X " + ds_.locus_names[l2]);
  out.line();
  out << col_sep;
  for (int c = 1; c <= t.cols(); ++c) out.cell(genotype_label(s, l2, c));
  out.eol();
  for (int r = 1; r <= t.rows(); ++r) {
    out.cell(genotype_label(s, l1, r));
    for (int c = 1; c <= t.cols(); ++c) out.cell(integer(t.at(r, c), 4));
    out.eol();
  }
  out.line();
  tables_.flush_if_large();
}

void LdCompanionFiles::allele_pair(int s, int l1, int l2, const LdAllelePair& x) {
  ReportText& out = details_.text();
  out << ds_.sample_names[s];
  out.cell(ds_.locus_names[l1] + "(" + std::to_string(lg_.allele_id(l1, x.a)) + ")X" + ds_.locus_names[l2] + "(" +
           std::to_string(lg_.allele_id(l2, x.b)) + ")");
  out.cell(integer(x.n, 8));
  for (long double v : {x.pA, x.pB, x.piA, x.piB, x.nAB, x.delta_corrected}) out.cell(fixed(v, 8, 5));
  out.cell(x.has_rab ? fixed(x.rab, 8, 5) : kNA8);
  out.cell(x.has_delta_prime ? fixed(x.delta_prime, 8, 5) : kNA8);
  out.eol();
  details_.flush_if_large();
}

}  // namespace torvi
