#include "dispersal/dispersal_report.h"

#include "report/fixed_format.h"
#include "report/report_text.h"

namespace torvi::dispersal {

namespace {

constexpr int kValueWidth = 8, kValueDecimals = 4;        // statistics, D and P
constexpr int kCountWidth = 6;                            // individuals of a sex
constexpr int kMomentWidth = 10, kMomentDecimals = 5;     // mean and variance of AI
constexpr int kPermutationWidth = 4;
constexpr const char* kMessageBreak = "\n\r";

// Labels of each test in the ".res" file and in the closing message.
constexpr std::array<const char*, kDispersalTestCount> kResLabels = {
    "p_value for assignment Ttest: ", "p_value for variance assignment test: ", "p_value for Fst test: ",
    "p_value for Fis test: ",         "p_value for relatedness test: ",          "p_value for ho test: ",
    "p_value for hs test: "};
constexpr std::array<const char*, kDispersalTestCount> kMessageLabels = {
    "P-value T ass test=", "P-value Vass test=", "P-value Fst test=", "P-value Fis test=",
    "P-value Relatedness test=", "P-value Ho test=", "P-value Hs test="};

// A value, or "NA" right-aligned in the same width.
std::string value_text(const Value& v, int width, int decimals) {
  return v ? fixed(*v, width, decimals) : right("NA", width);
}

std::string v8(const Value& v) { return value_text(v, kValueWidth, kValueDecimals); }

void append_v8(std::string& out, const Value& v) {
  if (v)
    append_fixed(out, *v, kValueWidth, kValueDecimals);
  else
    out.append(kValueWidth - 2, ' ').append("NA");
}

// "Fis for X: ...; Fst for X: ..." with `who` = "for X" or "overall".
std::string statistics_line(const std::string& who, const SetStatistics& s) {
  return "Fis " + who + ": " + v8(s.fis) + "; Fst " + who + ": " + v8(s.fst) + "; Relat " + who + ": " +
         v8(s.rel) + "; Ho " + who + ": " + v8(s.ho) + "; Hs " + who + ": " + v8(s.hs) + kEol;
}

std::string sex_line(char letter, const SexAssignment& a) {
  return std::string("NB ") + letter + ": " + integer(a.n, kCountWidth) +
         "; mean assignment: " + value_text(a.mean, kMomentWidth, kMomentDecimals) +
         "; var assignment: " + value_text(a.var, kMomentWidth, kMomentDecimals) + kEol;
}

}  // namespace

std::string res_header(const std::string& base, bool two_sided, int32_t permutations) {
  return "results are for data stored in filename: " + base + ".gen" + kEol + "The tests are " +
         (two_sided ? "two" : "one") + " sided and based on " + std::to_string(permutations) + " randomisations." +
         kEol;
}

std::string set_line(char letter, const SetStatistics& s) { return statistics_line(std::string("for ") + letter, s); }

std::string overall_line(const SetStatistics& s) { return statistics_line("overall", s); }

std::string assignment_lines(char phil_letter, char disp_letter, const AssignmentStatistics& a) {
  return sex_line(phil_letter, a.phil) + sex_line(disp_letter, a.disp);
}

std::string p_value_text(const TestChoice& choice, const PValues& p) {
  std::string out;
  for (size_t i = 0; i < choice.ticked.size(); ++i)
    if (choice.ticked[i]) out += kResLabels[i] + v8(p[i]) + col_sep;
  return out + kEol + kEol;
}

void append_per_line(std::string& out, int64_t k, const TestChoice& choice, const TestArray& d) {
  append_integer(out, k, kPermutationWidth);
  for (size_t i = 0; i < choice.ticked.size(); ++i)
    if (choice.ticked[i]) append_v8(out, d[i]);
  out += kEol;
}

std::string closing_message(const std::string& base, const TestChoice& choice, const PValues& p) {
  std::string text = "Results are stored in file : " + base + ".res" + kMessageBreak +
                     (choice.two_sided ? "two sided test" : "one sided test") + kMessageBreak;
  for (size_t i = 0; i < choice.ticked.size(); ++i)
    if (choice.ticked[i]) text += kMessageLabels[i] + v8(p[i]) + kMessageBreak;
  return text;
}

}  // namespace torvi::dispersal
