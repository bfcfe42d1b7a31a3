#include "json/results_document.h"

#include <algorithm>
#include <cctype>

#include "host/host.h"
#include "util/output_file.h"

namespace torvi {

namespace {

const char* status_name(ResultsStatus s) {
  switch (s) {
    case ResultsStatus::complete:
      return "complete";
    case ResultsStatus::cancelled:
      return "cancelled";
    case ResultsStatus::failed:
      return "failed";
  }
  return "failed";
}

}  // namespace

ResultsDocument::ResultsDocument(const CommandRecord& command, const RunClock& clock, const Rng& seeds_at_start,
                                 std::string result_file)
    : head_(document_head(kResultsFormat, command, clock)),
      seeds_at_start_(seeds_json(seeds_at_start)),
      result_file_(std::move(result_file)) {}

void ResultsDocument::add_section(const std::string& id, Json section) {
  std::string key = id;
  for (int n = 2; sections_.contains(key); ++n) key = id + "_" + std::to_string(n);
  sections_[key] = std::move(section);
}

Json ResultsDocument::finish(const Rng& seeds_at_end, ResultsStatus status, const std::string& message) const {
  Json doc = head_;
  doc["seeds"] = {{"start", seeds_at_start_}, {"end", seeds_json(seeds_at_end)}};
  doc["data"] = data_;
  doc["result_file"] = result_file_;
  doc["status"] = status_name(status);
  if (!message.empty()) doc["message"] = message;
  doc["sections"] = sections_;
  return doc;
}

void ResultsDocument::write(const Rng& seeds_at_end, ResultsStatus status, const std::string& message) const {
  write_file_atomically(results_document_path(result_file_), json_text(finish(seeds_at_end, status, message)));
}

Json section_json(const std::string& title, Json rows) { return {{"title", title}, {"rows", std::move(rows)}}; }

void with_document(const ResultsDocument* doc, const Rng& rng, const std::function<ResultsStatus()>& work) {
  if (!doc) {
    work();
    return;
  }
  ResultsStatus status = ResultsStatus::complete;
  try {
    status = work();
  } catch (const RunCancelled&) {
    doc->write(rng, ResultsStatus::cancelled);
    throw;
  } catch (const std::exception& e) {
    doc->write(rng, ResultsStatus::failed, e.what());
    throw;
  }
  doc->write(rng, status);
}

std::string results_document_path(const std::string& result_file) {
  constexpr std::string_view kOut = ".out";
  std::string base = result_file;
  if (base.size() > kOut.size()) {
    std::string tail = base.substr(base.size() - kOut.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    if (tail == kOut) base.resize(base.size() - kOut.size());
  }
  return base + ".torvi.json";
}

}  // namespace torvi
