#pragma once

#include <functional>
#include <string>

#include "data/data_summary.h"
#include "json/document.h"

namespace torvi {

// How the analysis of a file ended.
enum class ResultsStatus { complete, cancelled, failed };

// The results document of one data file (or one run of a tool): the head,
// the seeds when the work began, what the data file holds, then one object
// per section in the order the sections were written to the result file.
class ResultsDocument {
 public:
  ResultsDocument(const CommandRecord& command, const RunClock& clock, const Rng& seeds_at_start,
                  std::string result_file);

  // The data file's summary ("data").
  void set_data(Json data) { data_ = std::move(data); }
  // A section written to the result file; `id` names it among the sections
  // (a name met again gets "_2", "_3", ...).
  void add_section(const std::string& id, Json section);

  // The whole document, given the seeds when the work ended. A cancelled or
  // failed analysis holds the sections written before it stopped; `message`
  // says why it failed.
  Json finish(const Rng& seeds_at_end, ResultsStatus status, const std::string& message = {}) const;

  // Replaces the document's file beside the result file with finish()'s
  // document; OutputError names the file and the reason.
  void write(const Rng& seeds_at_end, ResultsStatus status, const std::string& message = {}) const;

 private:
  Json head_;
  Json seeds_at_start_;
  Json data_;
  std::string result_file_;
  Json sections_ = Json::object();
};

// A section of a tool's document: its title and its rows of cells.
Json section_json(const std::string& title, Json rows);

// Runs `work`, then writes `doc` (when there is one) with the status work
// returns; when work throws, the document is written as cancelled
// (RunCancelled) or failed (any other exception, its what() as message)
// with the sections added so far, and the exception passes on.
void with_document(const ResultsDocument* doc, const Rng& rng, const std::function<ResultsStatus()>& work);

// The document's file beside the result file: the result file's name less a
// final ".out" (any case), + ".torvi.json".
std::string results_document_path(const std::string& result_file);

}  // namespace torvi
