#include "support/results_json_check.h"

#include <algorithm>
#include <cmath>
#include <regex>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "json/results_document.h"

#include "support/golden.h"
#include "support/json_schema.h"

namespace torvi::testing {

namespace {

using json = nlohmann::ordered_json;

// A number or an NA as the result file shows it, or as the document holds it.
struct Token {
  std::string text;          // as printed (from the result file or a string of the document)
  const json* value = nullptr;  // a number of the document
};

const std::regex kNumberOrNa(R"(-?[0-9]+(\.[0-9]+)?|\bNA\b)");
const std::regex kRealText(R"(\s*-?[0-9]+\.[0-9]+\s*)");

void tokens_of_text(const std::string& text, std::vector<Token>& out) {
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kNumberOrNa); it != std::sregex_iterator(); ++it)
    out.push_back({it->str(), nullptr});
}

void tokens_of_json(const json& j, std::vector<Token>& out, std::vector<std::string>& problems) {
  if (j.is_object() && j.contains("P")) {
    out.push_back({"", &j["P"]});
  } else if (j.is_array() || j.is_object()) {
    for (const json& item : j) tokens_of_json(item, out, problems);
  } else if (j.is_number()) {
    out.push_back({"", &j});
  } else if (j.is_string()) {
    const std::string& s = j.get_ref<const std::string&>();
    if (s.rfind("NA: ", 0) == 0) out.push_back({"NA", nullptr});
    else if (std::regex_match(s, kRealText)) problems.push_back("a real held as text: \"" + s + "\"");
    else tokens_of_text(s, out);
  }
}

// The document's token holds the value the result file printed.
bool same(const Token& doc, const std::string& printed) {
  if (!doc.value) return doc.text == printed;
  if (printed == "NA") return false;
  const double shown = std::stod(printed);
  const size_t dot = printed.find('.');
  if (doc.value->is_number_integer() && dot == std::string::npos) return doc.value->get<double>() == shown;
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(printed.size() - dot - 1);
  const double v = doc.value->get<double>();
  return std::fabs(v - shown) <= 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + 1e-15 * std::fabs(v);
}

std::string describe(const Token& t) {
  if (t.value) return t.value->dump();
  std::string quoted = "\"";
  quoted += t.text;
  return quoted + "\"";
}

}  // namespace

nlohmann::ordered_json checked_tool_document(const std::string& result_file, int64_t n) {
  constexpr double kSinglePrecision = 1e-6;  // the regression's P-values are floats
  const std::string text = read_file(results_document_path(result_file));
  for (const std::string& problem : schema_problems(text)) ADD_FAILURE() << result_file << ": " << problem;
  json doc = json::parse(text.empty() ? "{}" : text);
  for (const json& row : doc["sections"]["p_values"]["rows"])
    for (const json& p : row) {
      if (!p.is_object()) continue;
      EXPECT_EQ(p["N"], n);
      EXPECT_NEAR(p["P"].get<double>(), (p["count"].get<double>() + 1) / static_cast<double>(n), kSinglePrecision);
    }
  return doc;
}

std::vector<std::string> results_document_problems(const std::string& result_file) {
  const std::string path = result_file.substr(0, result_file.size() - 4) + ".torvi.json";
  const std::string doc_text = read_file(path);
  std::vector<std::string> problems = schema_problems(doc_text);
  if (!problems.empty()) return problems;
  const json doc = json::parse(doc_text);
  std::vector<Token> printed, held;
  tokens_of_text(read_file(result_file), printed);
  for (const json& section : doc["sections"]) {
    tokens_of_json(section["title"], held, problems);
    tokens_of_json(section["rows"], held, problems);
  }
  for (size_t i = 0; i < std::min(printed.size(), held.size()); ++i)
    if (!same(held[i], printed[i].text)) {
      problems.push_back("number " + std::to_string(i) + ": the file shows " + printed[i].text + ", the document holds " +
                         describe(held[i]));
      break;  // the rest would only repeat the shift
    }
  if (printed.size() != held.size())
    problems.push_back("the file shows " + std::to_string(printed.size()) + " numbers, the document holds " +
                       std::to_string(held.size()));
  return problems;
}

}  // namespace torvi::testing
