#include "stats/genotype_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "report/fixed_format.h"
#include "report/quick_fixed.h"
#include "report/report_text.h"
#include "util/output_file.h"

namespace torvi {

namespace {

// Allele a then allele b, each with at least two digits: "0312", "101102".
std::string genotype_label(int a, int b) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d", a, b);
  return buf;
}

// Position of the pair of slots x <= y among the k(k+1)/2 pairs of a locus,
// in the order the file lists them.
size_t pair_index(int x, int y, int k) {
  return static_cast<size_t>(x) * k - static_cast<size_t>(x) * (x - 1) / 2 + (y - x);
}

// Individuals of each sample per genotype at locus l: cell s * pairs + pair.
void count_genotypes(const DataSet& ds, const AlleleIndex& ix, int l, int32_t* geno_obs) {
  const int k = ix.alleles_at_locus(l);
  const size_t pairs = static_cast<size_t>(k) * (k + 1) / 2;
  for (int i = 1; i <= ds.ni; ++i) {
    const int32_t g = ds.geno(l, i);
    if (g == 0) continue;
    int x = ix.slot(l, g / ds.coding_base) - ix.first[l];
    int y = ix.slot(l, g % ds.coding_base) - ix.first[l];
    if (x > y) std::swap(x, y);
    ++geno_obs[ds.sample_of[i] * pairs + pair_index(x, y, k)];
  }
}

// Expected counts of each genotype under random union of the sample's
// gametes, drawn without replacement; cells of absent alleles stay 0.
void expected_genotypes(const CountTables& ct, int np, int l, long double* geno_exp) {
  const int k = ct.index->alleles_at_locus(l);
  const size_t pairs = static_cast<size_t>(k) * (k + 1) / 2;
  for (int s = 1; s <= np; ++s) {
    const long double n = ct.typed(s, l);
    const long double* c = ct.allele_row(s, l);
    const long double share = n / (2.0L * n - 1.0L);  // the first factor of every cell
    for (int x = 0; x < k; ++x) {
      if (!(c[x] > 0.0L)) continue;
      const long double p_a = c[x] / (2.0L * n);
      geno_exp[s * pairs + pair_index(x, x, k)] = share * p_a * (c[x] - 1.0L);
      for (int y = x + 1; y < k; ++y)
        if (c[y] > 0.0L) geno_exp[s * pairs + pair_index(x, y, k)] = share * 2.0L * p_a * c[y];
    }
  }
}

// Observed counts below this have their cell text ready: the file holds
// millions of them.
constexpr int kReadyCounts = 1000;
struct CountTexts {
  char text[kReadyCounts][4];
};
// "\t  0" .. "\t999": a column separator, then the count right-aligned in 3.
constexpr CountTexts ready_count_texts() {
  CountTexts t{};
  for (int n = 0; n < kReadyCounts; ++n) {
    t.text[n][0] = col_sep;
    t.text[n][1] = n >= 100 ? static_cast<char>('0' + n / 100) : ' ';
    t.text[n][2] = n >= 10 ? static_cast<char>('0' + n / 10 % 10) : ' ';
    t.text[n][3] = static_cast<char>('0' + n % 10);
  }
  return t;
}
constexpr CountTexts kCountTexts = ready_count_texts();
constexpr std::string_view kZeroExpected = "\t  0.00";

// The file's text, formed in a buffer that goes to the file whenever it holds
// kChunk characters: the whole text can be far larger than the tables.
class ChunkedText {
 public:
  explicit ChunkedText(const std::string& path) : file_(path), buf_(kChunk + kCellRoom) {}

  void text(std::string_view s) {
    std::memcpy(room(s.size()), s.data(), s.size());
    used_ += s.size();
  }
  void line(std::string_view s) {
    text(s);
    text(kEol);
    if (used_ >= kChunk) flush();
  }
  // Observed count: a cell of width 3.
  void count_cell(int32_t n) {
    if (n < 0 || n >= kReadyCounts) return text(integer_text(n));
    std::memcpy(room(4), kCountTexts.text[n], 4);
    used_ += 4;
  }
  // Expected count: a cell of width 6 with 2 decimals.
  void expected_cell(long double e) {
    if (e == 0.0L) return text(kZeroExpected);
    if (char* end = put_quick_fixed(room(kCellRoom), e, 6, 2, col_sep)) {
      used_ = static_cast<size_t>(end - buf_.data());
      return;
    }
    text(col_sep + fixed_by_digits(e, 6, 2));
  }
  void commit() {
    flush();
    file_.commit();
  }

 private:
  static constexpr size_t kChunk = size_t{1} << 20;
  static constexpr size_t kCellRoom = kQuickFixedRoom;

  char* room(size_t n) {
    if (used_ + n > buf_.size()) buf_.resize(used_ + n);
    return buf_.data() + used_;
  }
  void flush() {
    file_.write({buf_.data(), used_});
    used_ = 0;
  }
  static std::string integer_text(int32_t n) {
    std::string t;
    append_integer(t, n, 3, col_sep);
    return t;
  }

  AtomicFile file_;
  std::vector<char> buf_;
  size_t used_ = 0;
};

// One table of a locus: a title line, then a row per genotype with a cell per sample.
template <class Cell>
void write_table(ChunkedText& out, const std::string& title, const std::vector<std::string>& labels, int np,
                 Cell&& cell) {
  out.line("");
  out.line(col_sep + title);
  for (size_t pair = 0; pair < labels.size(); ++pair) {
    out.text(labels[pair]);
    for (int s = 1; s <= np; ++s) cell(s * labels.size() + pair);
    out.line("");
  }
}

// The cells that open the rows of locus l, in the order of pair_index.
std::vector<std::string> row_labels(const AlleleIndex& ix, int l) {
  const int k = ix.alleles_at_locus(l);
  std::vector<std::string> labels;
  for (int x = 0; x < k; ++x)
    for (int y = x; y < k; ++y)
      labels.push_back(col_sep + genotype_label(ix.allele[ix.first[l] + x], ix.allele[ix.first[l] + y]));
  return labels;
}

}  // namespace

void genotype_tables(const Analysis& an) {
  const DataSet& ds = an.ds;
  const AlleleIndex& ix = *an.ct.index;
  const int np = ds.np;

  // One locus at a time: np rows of the pairs of alleles present there.
  int k_max = 0;
  for (int l = 1; l <= ds.nl; ++l) k_max = std::max(k_max, ix.alleles_at_locus(l));
  const size_t pairs_max = static_cast<size_t>(k_max) * (k_max + 1) / 2;
  // Observed counts are whole numbers: written as such, they read as the
  // reals with 0 decimals.
  std::vector<int32_t> geno_obs(static_cast<size_t>(np + 1) * pairs_max);
  std::vector<long double> geno_exp(static_cast<size_t>(np + 1) * pairs_max);

  ChunkedText out(an.base_name + ".x2");
  out.line(" Observed and expected genotype frequencies ");
  for (int l = 1; l <= ds.nl; ++l) {
    const std::vector<std::string> labels = row_labels(ix, l);
    const size_t cells = static_cast<size_t>(np + 1) * labels.size();
    std::fill_n(geno_obs.begin(), cells, 0);
    std::fill_n(geno_exp.begin(), cells, 0.0L);
    count_genotypes(ds, ix, l, geno_obs.data());
    expected_genotypes(an.ct, np, l, geno_exp.data());
    write_table(out, " Observed for locus : " + ds.locus_names[l], labels, np,
                [&](size_t c) { out.count_cell(geno_obs[c]); });
    write_table(out, " Expected for locus : " + ds.locus_names[l], labels, np,
                [&](size_t c) { out.expected_cell(geno_exp[c]); });
  }
  out.commit();
}

}  // namespace torvi
