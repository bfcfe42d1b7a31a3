#include "json/json_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "model/limits.h"

namespace torvi {
namespace {

TEST(JsonText, RealsAreTheShortestDecimalThatReadsBackAsTheSameDouble) {
  EXPECT_EQ(shortest_decimal(0.1), "0.1");
  EXPECT_EQ(shortest_decimal(1e-5), "1e-05");
  EXPECT_EQ(shortest_decimal(-0.0), "-0");
  EXPECT_EQ(shortest_decimal(0.3333333333333333), "0.3333333333333333");
  // The extended value is rounded to double first, then written.
  EXPECT_EQ(json_text(json_real(1.0L / 3.0L)), "0.3333333333333333\n");

  std::mt19937_64 gen(7);
  std::uniform_int_distribution<uint64_t> bits;
  for (int k = 0; k < 20000; ++k) {
    uint64_t b = bits(gen);
    double x;
    std::memcpy(&x, &b, sizeof x);
    if (!std::isfinite(x)) continue;
    const std::string text = shortest_decimal(x);
    EXPECT_EQ(std::strtod(text.c_str(), nullptr), x) << text;
    // Parsed as a JSON document it is the same double.
    EXPECT_EQ(Json::parse(text).get<double>(), x) << text;
  }
}

TEST(JsonText, ValuesThatCannotBeNumbersBecomeNaWithTheirReason) {
  EXPECT_EQ(json_na("monomorphic"), Json("NA: monomorphic"));
  EXPECT_EQ(json_real(std::numeric_limits<long double>::infinity()), Json("NA: infinite"));
  EXPECT_EQ(json_real(std::nanl("")), Json("NA: not a number"));
  EXPECT_EQ(json_real_or_na(na_value, "fewer than two typed samples"), Json("NA: fewer than two typed samples"));
  EXPECT_EQ(json_real_or_na(-0.25L, "unused"), Json(-0.25));
  // A double beyond the double range (extended reals reach further).
  EXPECT_EQ(json_real(1e4000L), Json("NA: infinite"));
}

TEST(JsonText, WrittenDocumentParsesBackToItself) {
  Json doc = {{"name", "fca8"},
              {"values", {0.5, 1e-300, -2.0, 3}},
              {"nested", {{"empty_object", Json::object()}, {"empty_array", Json::array()}, {"null", nullptr}}},
              {"rows", Json::array({Json::array({1, 2}), Json::array({3.25, "NA: monomorphic"})})},
              {"quote\"and\\slash\ttab", true}};
  const std::string text = json_text(doc);
  EXPECT_EQ(Json::parse(text), doc) << text;
  EXPECT_EQ(text.back(), '\n');
  // Members keep the order they were added in.
  EXPECT_LT(text.find("\"name\""), text.find("\"values\""));
  EXPECT_LT(text.find("\"values\""), text.find("\"nested\""));
}

TEST(JsonText, BytesThatAreNotUtf8AreReplacedNotThrown) {
  // A locus name read from a file in a one-byte encoding.
  const Json doc = {{"name", std::string("fca\xe9""8")}};
  std::string text;
  ASSERT_NO_THROW(text = json_text(doc));
  EXPECT_NE(text.find("fca\xef\xbf\xbd""8"), std::string::npos) << "U+FFFD in place of the byte";
  EXPECT_TRUE(Json::parse(text).is_object());
}

}  // namespace
}  // namespace torvi
