#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace torvi::testing {

// What is wrong with the results document written beside `result_file`
// (BASE.torvi.json): its problems against the documents' schema, then any
// number of the result file that its sections do not hold to the printed
// precision, in the file's order (a whole number exactly, a real within half
// a unit of the last printed decimal, NA as NA), and any real the document
// holds as text. Empty when the document is sound.
std::vector<std::string> results_document_problems(const std::string& result_file);

// The results document beside `result_file`, parsed; a test failure for each
// of its problems against the documents' schema. Its "p_values" section's
// P-values are checked to be (count + 1) / N with the given N.
nlohmann::ordered_json checked_tool_document(const std::string& result_file, int64_t n);

}  // namespace torvi::testing
