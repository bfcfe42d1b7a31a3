#include "ld/result_section.h"

namespace torvi {

namespace {

std::string p_value(int64_t count, int64_t n_perm) {
  return fixed(static_cast<long double>(count + 1) / static_cast<long double>(n_perm), 8, 5);
}

void adjusted_level_lines(ReportText& out, NominalLevel level, int64_t n_perm) {
  const long double n = static_cast<long double>(n_perm);
  auto line = [&](const char* percent, long double value) {
    out.cell(std::string("Adjusted P-value for ") + percent + " nominal level is : " + fixed(value / n, 14, 10)).eol();
  };
  switch (level) {
    case NominalLevel::p5_100: line("5%", 1.0L); break;
    case NominalLevel::p1_100: line("5%", 5.0L); line("1%", 1.0L); break;
    case NominalLevel::p1_1000: line("5%", 50.0L); line("1%", 10.0L); line("0.1%", 1.0L); break;
    case NominalLevel::fixed:
    case NominalLevel::none: break;
  }
}

}  // namespace

ReportText ld_result_section(const RunOptions& opt, const DataSet& ds, const LdTestState& state, int64_t n_perm) {
  const bool per_sample = opt.RG_GDT == LdTests::pairs_in_each_sample;
  ReportText out;
  out.line();
  out.line(kStars55);
  out.cell("P-value for genotypic disequilibrium").eol();
  out.cell("based on " + integer(n_perm, 10) + " permutations.").eol();
  adjusted_level_lines(out, opt.RG_MTG, n_perm);
  out.line();
  out << col_sep;
  if (per_sample)
    for (int s = 1; s <= ds.np; ++s) out.cell(right(ds.sample_names[s], 6));
  out.cell("   All").eol();

  size_t next_pair = 0;
  for (int l1 = 1; l1 < ds.nl; ++l1) {
    for (int l2 = l1 + 1; l2 <= ds.nl; ++l2) {
      const LdPairTest* pair = nullptr;
      if (next_pair < state.pairs.size() && state.pairs[next_pair].l1 == l1 && state.pairs[next_pair].l2 == l2)
        pair = &state.pairs[next_pair++];
      out << ds.locus_names[l1] << " X " << ds.locus_names[l2] << col_sep;
      if (per_sample) {
        size_t i = pair ? pair->first : 0;
        for (int s = 1; s <= ds.np; ++s) {
          if (pair && i < pair->end && state.samples[i].s == s)
            out.cell(p_value(state.samples[i++].count, n_perm));
          else
            out.cell(kNA8);
        }
      }
      out.cell(pair && pair->end > pair->first ? p_value(pair->count, n_perm) : kNA8).eol();
    }
  }
  out.line();
  return out;
}

}  // namespace torvi
