#include "json/section_json.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace torvi {

namespace {

// How a randomisation test prints its P-values.
enum class PValues {
  none,
  // (count + 1) / N: the observed data set counted among the N.
  count_plus_one,
  // Rank intervals "in [P1 P2]": P1 = count at least as large / N, P2 =
  // count strictly larger / N; "< 1/N" when no randomised value reached.
  rank_interval,
};

struct KnownSection {
  const char* title_start;
  const char* id;
  const char* na_reason;
  PValues p_values = PValues::none;
};

constexpr const char* kNotComputable = "not computable";
constexpr const char* kNoTyped = "no typed individual in the sample";
constexpr const char* kTiny = "denominator at or below 1e-10";

const KnownSection kKnown[] = {
    {"*   The following results", "header", kNotComputable},
    {"Gene diversity per locus", "gene_diversity", "fewer than two typed individuals in the sample"},
    {"number of alleles sampled", "nb_alleles", kNoTyped},
    {"Allelic Richness", "allelic_richness", kNoTyped},
    {"Fis Per population", "fis", "monomorphic or fewer than two typed individuals"},
    {"P-value for Fis within samples", "hw_per_sample", "fewer than two typed individuals or Fis not computable",
     PValues::count_plus_one},
    {"Nei's estimation", "nei", "fewer than two typed samples"},
    {"P-value for genotypic disequilibrium", "ld_tests", "pair not tested (a locus monomorphic or untyped)",
     PValues::count_plus_one},
    {"Weir & Cockerham", "wc", "monomorphic or denominator at or below 1e-10"},
    {"Over all loci", "wc_over_loci", kTiny},
    {"Rst Over all samples", "rst", kTiny},
    {"Jackknifing over populations", "jackknife_samples", kTiny},
    {"Could not perform Jackknifing over samples", "jackknife_samples", kNotComputable},
    {"Jackknifing over loci", "jackknife_loci", kTiny},
    {"Could not perform Jackknifing over loci", "jackknife_loci", kNotComputable},
    {"Bootstrapping over Loci", "bootstrap", "no bootstrap replicate drawn"},
    {"Cannot perform Bootstrap", "bootstrap", kNotComputable},
    {"Randomising alleles within samples", "hw_within", kNotComputable, PValues::rank_interval},
    {"Randomising alleles overall samples", "hw_overall", kNotComputable, PValues::rank_interval},
    {"Randomising genotypes among samples", "popdiff_genotypes", kNotComputable, PValues::rank_interval},
};
// The table without a title that opens the result file.
const KnownSection kAlleleFrequencies{"", "allele_frequencies", kNoTyped};
const KnownSection kOther{"", "", kNotComputable};

constexpr std::string_view kBasedOn = "based on";
constexpr std::string_view kRankText = "Prop rand. larger than observed";
constexpr std::string_view kLevelText = "level";

std::string_view trimmed(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool is_integer(std::string_view s) {
  const size_t digits = s.front() == '-' ? 1 : 0;
  if (digits == s.size()) return false;
  for (size_t i = digits; i < s.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
  return true;
}

// A cell that holds no formatted real: a text, a whole number, or NA (null
// until the section's reason is known).
Json plain_cell(std::string_view s) {
  if (s == "NA") return nullptr;
  if (is_integer(s)) return std::strtoll(std::string(s).c_str(), nullptr, 10);
  return std::string(s);
}

// The cells of text[begin, end), the reals formatted there taken from
// `values` (from index `next` on, in order of place).
Json row_of(std::string_view text, size_t begin, size_t end, const std::vector<CapturedValue>& values,
            size_t& next) {
  Json row = Json::array();
  auto add_text = [&](size_t from, size_t to) {
    const std::string_view t = trimmed(text.substr(from, to - from));
    if (!t.empty()) row.push_back(plain_cell(t));
  };
  for (size_t b = begin; b <= end;) {
    size_t e = text.find('\t', b);
    if (e == std::string_view::npos || e > end) e = end;
    while (next < values.size() && values[next].offset < b) ++next;
    size_t at = b;
    for (; next < values.size() && values[next].offset + values[next].length <= e; ++next) {
      add_text(at, values[next].offset);
      row.push_back(json_real(values[next].value));
      at = values[next].offset + values[next].length;
    }
    add_text(at, e);
    b = e + 1;
  }
  return row;
}

const KnownSection& known(const std::string& title, const Json& rows) {
  for (const KnownSection& k : kKnown)
    if (title.rfind(k.title_start, 0) == 0) return k;
  if (!rows.empty())
    for (const Json& cell : rows.front())
      if (cell == "All_W") return kAlleleFrequencies;
  return kOther;
}

std::string slug(const std::string& title) {
  constexpr size_t kSlugMax = 40;
  std::string id;
  for (char c : title) {
    if (id.size() >= kSlugMax) break;
    if (std::isalnum(static_cast<unsigned char>(c)))
      id += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    else if (!id.empty() && id.back() != '_')
      id += '_';
  }
  while (!id.empty() && id.back() == '_') id.pop_back();
  return id.empty() ? "section" : id;
}

bool has_text(const Json& row, std::string_view part) {
  for (const Json& cell : row)
    if (cell.is_string() && cell.get_ref<const std::string&>().find(part) != std::string::npos) return true;
  return false;
}

// The randomisations a test's P-values are based on, from its "based on"
// line; 0 when it has none.
int64_t randomisations(const Json& rows, size_t& row_index) {
  for (row_index = 0; row_index < rows.size(); ++row_index)
    for (const Json& cell : rows[row_index]) {
      if (!cell.is_string()) continue;
      const std::string& s = cell.get_ref<const std::string&>();
      const size_t at = s.find(kBasedOn);
      if (at == std::string::npos) continue;
      const size_t digit = s.find_first_of("0123456789", at);
      if (digit != std::string::npos) return std::strtoll(s.c_str() + digit, nullptr, 10);
    }
  return 0;
}

// The reals of a test's P-value rows become {P, count, N, mc_se}.
void mark_p_values(Json& rows, PValues kind) {
  size_t first = 0;
  const int64_t n = randomisations(rows, first);
  if (n <= 0) return;
  for (size_t r = first + 1; r < rows.size(); ++r) {
    Json& row = rows[r];
    const bool rank_row = has_text(row, kRankText);
    if (kind == PValues::rank_interval ? !rank_row : has_text(row, kLevelText)) continue;
    const bool none_reached = has_text(row, "<");
    for (Json& cell : row) {
      if (!cell.is_number_float()) continue;
      const long double p = cell.get<double>();
      const int64_t scaled = std::llround(p * static_cast<long double>(n));
      const int64_t count = kind == PValues::count_plus_one ? scaled - 1 : none_reached ? 0 : scaled;
      cell = json_p_value(p, count, n);
    }
  }
}

void give_na_reason(Json& rows, const char* reason) {
  for (Json& row : rows)
    for (Json& cell : row)
      if (cell.is_null()) cell = json_na(reason);
}

// The part of rows collected so far, titled by its first row when that is a
// single text.
void close_part(Json& rows, std::vector<SectionPart>& parts) {
  if (rows.empty()) return;
  std::string title;
  if (rows.front().size() == 1 && rows.front().front().is_string()) {
    title = rows.front().front().get<std::string>();
    rows.erase(rows.begin());
  }
  const KnownSection& k = known(title, rows);
  give_na_reason(rows, k.na_reason);
  if (k.p_values != PValues::none) mark_p_values(rows, k.p_values);
  parts.push_back({*k.id ? k.id : slug(title), {{"title", title}, {"rows", std::move(rows)}}});
  rows = Json::array();
}

bool is_stars(std::string_view line) { return !line.empty() && line.find_first_not_of('*') == std::string_view::npos; }

}  // namespace

std::vector<SectionPart> section_parts(std::string_view text, const std::vector<CapturedValue>& values) {
  std::vector<SectionPart> parts;
  Json rows = Json::array();
  size_t next = 0;
  for (size_t b = 0; b < text.size();) {
    size_t e = text.find('\n', b);
    if (e == std::string_view::npos) e = text.size();
    const size_t end = e > b && text[e - 1] == '\r' ? e - 1 : e;
    if (is_stars(text.substr(b, end - b))) {
      close_part(rows, parts);
    } else if (Json row = row_of(text, b, end, values, next); !row.empty()) {
      rows.push_back(std::move(row));
    }
    b = e + 1;
  }
  close_part(rows, parts);
  return parts;
}

}  // namespace torvi
