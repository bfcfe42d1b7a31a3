#include "report/fixed_format.h"

#include <gtest/gtest.h>

#include "report/report_text.h"
#include "util/output_file.h"

#include <filesystem>
#include <fstream>
#include <cmath>
#include <random>
#include <sstream>

namespace torvi {
namespace {

TEST(FixedFormat, RightAlignsAndWidens) {
  EXPECT_EQ(fixed(0.5L, 6, 3), " 0.500");
  EXPECT_EQ(fixed(-0.25L, 6, 3), "-0.250");
  EXPECT_EQ(fixed(123456.5L, 6, 3), "123456.500");
  EXPECT_EQ(fixed(1.0L / 3, 10, 5), "   0.33333");
  EXPECT_EQ(fixed(2.0L, 3, 0), "  2");
  EXPECT_EQ(fixed(0.00125L, 7, 4), " 0.0013");
}

TEST(FixedFormat, TiesRoundHalfAwayFromZero) {
  EXPECT_EQ(fixed(0.0625L, 6, 3), " 0.063");
  EXPECT_EQ(fixed(-0.0625L, 6, 3), "-0.063");
  EXPECT_EQ(fixed(2.5L, 1, 0), "3");
  EXPECT_EQ(fixed(0.9995L, 6, 3), " 1.000");
  EXPECT_EQ(fixed(9.9995L, 6, 3), "10.000");
}

TEST(FixedFormat, ExactTiesRoundTheSameWhateverTheLastBits) {
  // 21/80 = 0.2625 exactly; computed two ways it may differ in the last bit.
  long double a = 21.0L / 80.0L;
  long double b = 0.2625L;
  long double c = (0.1L + 0.1625L);
  EXPECT_EQ(fixed(a, 6, 3), " 0.263");
  EXPECT_EQ(fixed(b, 6, 3), " 0.263");
  EXPECT_EQ(fixed(c, 6, 3), " 0.263");
}

TEST(FixedFormat, NoNegativeZero) {
  EXPECT_EQ(fixed(-0.0L, 6, 3), " 0.000");
  EXPECT_EQ(fixed(-0.0004L, 6, 3), " 0.000");
  EXPECT_EQ(fixed(-1e-20L, 10, 5), "   0.00000");
  EXPECT_EQ(fixed(-0.0005L, 6, 3), "-0.001");
}

TEST(FixedFormat, MissingMarkerPrintsAsANumber) {
  EXPECT_EQ(fixed(-9.99L, 6, 3), "-9.990");
}

TEST(FixedFormat, SmallAndLargeMagnitudes) {
  EXPECT_EQ(fixed(4e-6L, 6, 3), " 0.000");
  EXPECT_EQ(fixed(1e-300L, 6, 3), " 0.000");
  EXPECT_EQ(fixed(0.05L / 2 / 5, 10, 5), "   0.00500");
  EXPECT_EQ(fixed(1e20L, 4, 1), "100000000000000000000.0");
}

// The integer path must give the digit-by-digit text for every value: random
// magnitudes and signs, exact binary ties (k/8), decimal ties that binary
// cannot hold (k/80), ratios of small integers as the estimators form them,
// and values needing more than 15 significant digits.
TEST(FixedFormat, QuickTextEqualsTheDigitByDigitText) {
  std::mt19937_64 gen(17);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-12, 17), decimals(0, 8), width(0, 10);
  auto check = [](long double v, int w, int d) {
    ASSERT_EQ(fixed(v, w, d), fixed_by_digits(v, w, d)) << static_cast<double>(v) << " " << w << ":" << d;
  };
  for (int i = 0; i < 30000; ++i) {
    const long double v = static_cast<long double>(mantissa(gen)) * std::pow(10.0L, exponent(gen));
    check(v, width(gen), decimals(gen));
  }
  for (int k = -800; k <= 800; ++k)
    for (int d = 0; d <= 5; ++d) {
      check(k / 8.0L, 6, d);
      check(k / 80.0L, 6, d);
      check(static_cast<long double>(k) / 7, 7, d);
      check(0.1L * k, 8, d);
    }
  for (int n = 1; n <= 120; ++n)
    for (int c = 0; c <= 2 * n; c += 3) {
      check(c * (c - 1.0L) / (2 * (2.0L * n - 1)), 6, 2);
      check(c * 7.0L / (2.0L * n - 1), 6, 2);
      check(static_cast<long double>(c) / (2.0L * n), 6, 3);
    }
  for (long double big : {999999999999999.4L, 123456789012.345678L, -98765432109876.5L, 4.5e15L, 1e20L})
    for (int d = 0; d <= 8; ++d) check(big, 4, d);
}

TEST(FixedFormat, Integers) {
  EXPECT_EQ(integer(42), "42");
  EXPECT_EQ(integer(200, 6), "   200");
  EXPECT_EQ(integer(-3, 4), "  -3");
  EXPECT_EQ(integer(1234567, 3), "1234567");
}

TEST(ReportText, AppendsWholeSectionsWithCrLf) {
  auto path = std::filesystem::temp_directory_path() / "torvi_report_text_test.out";
  std::filesystem::remove(path);
  ReportText a;
  a.line().line(kStars48).cell("x").cell(fixed(1, 6, 3)).eol();
  a.append_to(path.string());
  ReportText b;
  b.line("second");
  b.append_to(path.string());
  std::ifstream in(path, std::ios::binary);
  std::stringstream got;
  got << in.rdbuf();
  EXPECT_EQ(got.str(), "\r\n" + std::string(48, '*') + "\r\n\tx\t 1.000\r\nsecond\r\n");
  ReportText c;
  c.line("anew");
  c.write_new(path.string());
  std::ifstream again(path, std::ios::binary);
  std::stringstream got2;
  got2 << again.rdbuf();
  EXPECT_EQ(got2.str(), "anew\r\n");
  std::filesystem::remove(path);
  EXPECT_THROW(c.append_to("/nonexistent-dir/x.out"), OutputError);
}

}  // namespace
}  // namespace torvi
