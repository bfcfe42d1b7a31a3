#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "regress/regress_fixture.h"
#include "support/golden.h"
#include "support/results_json_check.h"
#include "support/scripted_host.h"
#include "torvi/regress.h"

namespace torvi::regress {
namespace {

using torvi::testing::read_file;
using torvi::testing::TempDir;

const std::string kData = std::string(TORVI_TEST_DATA_DIR) + "/inputs/regress/";

// Opens `input` as the window does (the opening lines go to the output),
// then runs the request with the given seeds.
struct Runner {
  inline static int made = 0;
  TempDir dir{"regress-run" + std::to_string(made++)};
  MantelRequest request;
  std::vector<float> rows;
  Rng rng{12345, 67890};
  torvi::testing::ScriptedHost host;

  // `shown` is the input's path as the output names it.
  void open(const std::string& input, const std::string& shown = {}) {
    request.output_path = dir.file("out.txt");
    request.header = read_column_header(input, [&](const std::string& title) {
      std::ofstream(request.output_path, std::ios::app | std::ios::binary)
          << opening_lines(title, shown.empty() ? input : shown);
    });
    rows = read_column_rows(input, request.header);
  }
  std::string run(int dep, std::vector<int> expl, int randomisations = 500, bool distance = false) {
    request.dependent = dep;
    request.explanatory = std::move(expl);
    request.randomisations = randomisations;
    request.distance = distance;
    EXPECT_EQ(request_problem(request), "");
    run_mantel(request, rows, rng, host);
    return read_file(request.output_path);
  }
};

// The text after `label` on the first line holding it.
std::string after(const std::string& report, const std::string& label) {
  const size_t at = report.find(label);
  if (at == std::string::npos) return "(missing: " + label + ")";
  const size_t start = at + label.size();
  return report.substr(start, report.find("\r\n", start) - start);
}

// Both modes with each thread count: the files and the stream left behind
// never depend on the number of threads.
TEST(MantelRun, GoldenReportsOfBothModes) {
  Rng distance_rng, rows_rng;
  for (int threads : torvi::testing::kThreadCounts) {
    SCOPED_TRACE(threads);
    Runner d;
    d.request.threads = threads;
    d.open(kData + "distances.txt", "distances.txt");
    d.request.residuals_path = d.dir.file("distances.res");
    d.run(3, {1, 2}, 1000, true);
    Runner r;
    r.request.threads = threads;
    r.open(kData + "rows.txt", "rows.txt");
    r.request.residuals_path = r.dir.file("rows.res");
    if (threads == torvi::testing::kThreadCounts[1])
      r.request.results_document = CommandRecord{"mantel", true, {"mantel"}, {}};
    r.run(4, {1, 3, 2}, 700);
    for (const auto& [name, path] : {std::pair{"distances.out", d.request.output_path},
                                     std::pair{"distances.res", d.request.residuals_path},
                                     std::pair{"rows.out", r.request.output_path},
                                     std::pair{"rows.res", r.request.residuals_path}})
      EXPECT_EQ(torvi::testing::compare_file_with_golden(std::string("regress/") + name, path), "");
    if (r.request.results_document) {
      const auto doc = torvi::testing::checked_tool_document(r.request.output_path, 700);
      EXPECT_EQ(doc["sections"]["p_values"]["rows"].size(), 5u);  // head, three variables, error
      const std::string report = read_file(r.request.output_path);
      EXPECT_NEAR(doc["sections"]["fit"]["rows"][2][1].get<double>(),
                  std::stod(after(report, "Percent of the variance explained by the model (R_squared): ")), 0.005);
    }
    if (threads == 1) distance_rng = d.rng, rows_rng = r.rng;
    EXPECT_EQ(d.rng, distance_rng);
    EXPECT_EQ(r.rng, rows_rng);
  }
}

// One explanatory variable: the correlation column is Pearson's r of the two
// columns, carrying the sign of the coefficient.
TEST(MantelRun, OneVariableGivesPearsonsCorrelation) {
  Runner r;
  r.open(kData + "rows.txt");
  const std::string out = r.run(4, {2}, 200);
  long double mx = 0, my = 0, sxy = 0, sxx = 0, syy = 0;
  for (int i = 0; i < 35; ++i) mx += r.rows[i * 4 + 1], my += r.rows[i * 4 + 3];
  mx /= 35, my /= 35;
  for (int i = 0; i < 35; ++i) {
    const long double dx = r.rows[i * 4 + 1] - mx, dy = r.rows[i * 4 + 3] - my;
    sxy += dx * dy, sxx += dx * dx, syy += dy * dy;
  }
  const double pearson = static_cast<double>(sxy / std::sqrt(sxx * syy));
  ASSERT_LT(pearson, 0);  // elevation lowers body size: the sign must show
  std::istringstream line(after(out, " elevation"));
  double corr = 0, beta = 0;
  line >> corr >> beta;
  EXPECT_NEAR(corr, pearson, 2e-6);
  EXPECT_LT(beta, 0);
}

TEST(MantelRun, ExactFitAndSmallestPValue) {
  TempDir dir("regress-exact");
  std::string text = "exact\n30 2\nx\ny\n";
  for (int i = 0; i < 30; ++i) text += std::to_string(i * 7 % 30) + " " + std::to_string(3 * (i * 7 % 30)) + "\n";
  Runner r;
  r.open(dir.write("exact.txt", text));
  const std::string out = r.run(2, {1}, 200);
  EXPECT_EQ(after(out, "(R_squared): "), "    100.00");
  // x is a permutation of 0..29: SS = 9 x 30 x (30^2 - 1) / 12.
  EXPECT_EQ(after(out, "         x"), "            1.000000       3.000000     20227.5000");
  EXPECT_NE(out.find("         x  0.005000  0.005000\r\n"), std::string::npos);
  EXPECT_EQ(after(out, "P-value for the error sum of square"), "  0.005000");
  EXPECT_NE(out.find("P-values are given after    200 randomizations.\r\n"), std::string::npos);
}

TEST(MantelRun, ConstantResponseShowsNAInsteadOfDividingByZero) {
  TempDir dir("regress-na");
  Runner r;
  r.open(dir.write("flat.txt", "flat\n4 2\nx\ny\n1 5\n2 5\n3 5\n5 5\n"));
  const std::string out = r.run(2, {1}, 200);
  EXPECT_EQ(after(out, "is :"), "    0.0000");
  EXPECT_EQ(after(out, "         x"), std::string(18, ' ') + "NA       0.000000         0.0000");
  EXPECT_EQ(after(out, "(R_squared): "), "        NA");
}

TEST(MantelRun, TwelfthVariableIsColumnTwelve) {
  TempDir dir("regress-twelve");
  const std::vector<float> t = testing::sample_table(20, 12, 4);
  std::string wide = "wide\n20 12\n", narrow = "wide\n20 2\nv1\nv12\n";
  for (int k = 1; k <= 12; ++k) wide += "v" + std::to_string(k) + "\n";
  for (int i = 0; i < 20; ++i) {
    for (int k = 0; k < 12; ++k) wide += std::to_string(t[i * 12 + k]) + " ";
    wide += "\n";
    narrow += std::to_string(t[i * 12]) + " " + std::to_string(t[i * 12 + 11]) + "\n";
  }
  Runner a, b;
  a.open(dir.write("wide.txt", wide));
  b.open(dir.write("narrow.txt", narrow));
  const std::string from_wide = a.run(1, {12}, 300), from_narrow = b.run(1, {2}, 300);
  const auto report = [](const std::string& out) { return out.substr(out.find("\r\n\r\nP-values")); };
  EXPECT_EQ(report(from_wide), report(from_narrow));
}

TEST(MantelRun, TwoRunsAppendTwoReports) {
  Runner r;
  r.open(kData + "rows.txt");
  const std::string once = r.run(4, {1}, 200);
  r.rng = Rng(12345, 67890);
  const std::string twice = r.run(4, {1}, 200);
  const size_t opening = once.find("\r\n\r\nP-values");
  EXPECT_EQ(twice, once + once.substr(opening + 2));
}

TEST(MantelRun, SingularModelKeepsOnlyTheHeadAndDrawsNothing) {
  TempDir dir("regress-singular");
  Runner r;
  r.open(dir.write("s.txt", "sing\n4 3\nc\nx\ny\n2 1 4\n2 2 3\n2 3 7\n2 4 1\n"));
  r.request.residuals_path = r.dir.file("s.res");
  r.request.dependent = 3;
  r.request.explanatory = {1, 2};
  r.request.randomisations = 200;
  try {
    run_mantel(r.request, r.rows, r.rng, r.host);
    FAIL() << "no singular matrix";
  } catch (const SingularMatrix& e) {
    EXPECT_STREQ(e.what(), "  0.000000Singular matrix!. Exiting.");
  }
  EXPECT_EQ(read_file(r.request.output_path),
            "sing\r\ndata from the file : " + dir.file("s.txt") +
                "\r\n\r\nP-values are given after    200 randomizations.\r\n\r\n");
  EXPECT_EQ(r.rng, Rng(12345, 67890));
  EXPECT_FALSE(std::ifstream(r.request.residuals_path).good());

  r.request.explanatory = {2, 1};
  EXPECT_THROW(run_mantel(r.request, r.rows, r.rng, r.host), SingularMatrix);
}

TEST(MantelRun, CancelledRunWritesNoTail) {
  Runner r;
  r.open(kData + "distances.txt");
  r.host.stop_after_steps = 10;
  r.request.dependent = 3;
  r.request.explanatory = {1};
  r.request.randomisations = 20000;
  r.request.distance = true;
  EXPECT_THROW(run_mantel(r.request, r.rows, r.rng, r.host), RunCancelled);
  const std::string out = read_file(r.request.output_path);
  EXPECT_NE(out.find("(R_squared):"), std::string::npos);
  EXPECT_EQ(out.find("P(Beta)"), std::string::npos);
}

TEST(MantelRun, RequestsThatCannotRunAreExplained) {
  MantelRequest q;
  q.header.variables = 4;
  q.header.rows = 7;
  q.dependent = 1;
  q.explanatory = {2, 3};
  EXPECT_EQ(request_problem(q), "");
  q.distance = true;
  EXPECT_EQ(request_problem(q), "7 rows are not the lower triangle of a distance matrix");
  q.distance = false;
  q.explanatory = {2, 1};
  EXPECT_EQ(request_problem(q), "Variable 1 is chosen twice");
  q.explanatory = {5};
  EXPECT_EQ(request_problem(q), "Explanatory variable 5 must be a variable number from 1 to 4");
  q.explanatory = {};
  EXPECT_EQ(request_problem(q), "No explanatory variable was chosen");
  q.explanatory = {2};
  q.randomisations = 199;
  EXPECT_EQ(request_problem(q), "The number of randomisations must lie in 200..20000");
}

}  // namespace
}  // namespace torvi::regress
