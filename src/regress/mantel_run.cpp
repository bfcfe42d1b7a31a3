#include <set>

#include "regress/mantel_json.h"
#include "regress/mantel_report.h"
#include "regress/randomisations.h"
#include "regress/regression_model.h"
#include "util/output_file.h"
#include "torvi/regress.h"

namespace torvi::regress {

namespace {

std::vector<float> raw_column(const std::vector<float>& centred, size_t offset, size_t step, size_t n, float mean) {
  std::vector<float> raw(n);
  for (size_t r = 0; r < n; ++r)
    raw[r] = static_cast<float>(static_cast<long double>(centred[r * step + offset]) + mean);
  return raw;
}

ObservedFit observed_view(const Model& model, const Residuals& res) {
  ObservedFit view;
  view.estimate = res.estimate;
  view.residual = res.residual;
  const auto n = static_cast<size_t>(model.n);
  view.dependent = raw_column(model.y, 0, 1, n, model.y_mean);
  for (int j = 0; j < model.m; ++j)
    view.explanatory.push_back(raw_column(model.x, static_cast<size_t>(j), static_cast<size_t>(model.m), n,
                                          model.x_means[j]));
  return view;
}

void append(const std::string& path, const std::string& text) {
  if (!path.empty()) append_section(path, text);
}

std::vector<std::string> explanatory_names(const MantelRequest& q) {
  std::vector<std::string> names;
  for (int k : q.explanatory) names.push_back(q.header.names[static_cast<size_t>(k) - 1]);
  return names;
}

// The fit, the residual file and the randomisations, each part of the report
// appended (and added to `doc`) as it is done.
void fit_and_test(const MantelRequest& q, const std::vector<float>& rows, Rng& rng, Host& host,
                  const std::function<void(const ObservedFit&)>& on_observed, ResultsDocument* doc) {
  const int objects = q.distance ? q.header.objects : 0;
  std::vector<int> expl;
  for (int k : q.explanatory) expl.push_back(k - 1);
  const Model model = centred_model(rows, q.header.rows, q.header.variables, q.dependent - 1, expl);

  append(q.output_path, report_head(q.randomisations, objects));
  FitCache cache;
  if (auto singular = build_cache(model, cache)) throw SingularMatrix(*singular);
  const Fit observed = fit(model, cache, model.y.data());
  const std::vector<std::string> names = explanatory_names(q);
  append(q.output_path,
         report_observed(q.header.names[static_cast<size_t>(q.dependent) - 1], names, observed, cache.sst));
  if (doc) add_observed_fit(*doc, names, observed, cache.sst);

  const Residuals res = residuals(model, observed);
  if (on_observed) on_observed(observed_view(model, res));
  if (!q.residuals_path.empty()) write_file_atomically(q.residuals_path, residual_file(res));

  const Counts counts = randomise({model, cache, observed, q.randomisations, objects, q.threads}, rng, host);
  append(q.output_path, report_tail(names, counts, q.randomisations));
  if (doc) add_mantel_p_values(*doc, names, counts, q.randomisations);
}

}  // namespace

std::string request_problem(const MantelRequest& q) {
  const int v = q.header.variables;
  const std::string range = " must be a variable number from 1 to " + std::to_string(v);
  if (q.dependent < 1 || q.dependent > v) return "The dependent variable" + range;
  if (q.explanatory.empty()) return "No explanatory variable was chosen";
  std::set<int> seen{q.dependent};
  for (int k : q.explanatory) {
    if (k < 1 || k > v) return "Explanatory variable " + std::to_string(k) + range;
    if (!seen.insert(k).second) return "Variable " + std::to_string(k) + " is chosen twice";
  }
  if (q.randomisations < kMinRandomisations || q.randomisations > kMaxRandomisations)
    return "The number of randomisations must lie in " + std::to_string(kMinRandomisations) + ".." +
           std::to_string(kMaxRandomisations);
  if (q.distance && q.header.objects == 0)
    return std::to_string(q.header.rows) + " rows are not the lower triangle of a distance matrix";
  if (q.distance && q.header.objects > kMaxObjects)
    return "A distance matrix of " + std::to_string(q.header.objects) + " objects is too large; at most " +
           std::to_string(kMaxObjects) + " can be used";
  return {};
}

void run_mantel(const MantelRequest& q, const std::vector<float>& rows, Rng& rng, Host& host,
                const std::function<void(const ObservedFit&)>& on_observed) {
  std::optional<ResultsDocument> doc = mantel_document(q, rng);
  ResultsDocument* const document = doc ? &*doc : nullptr;
  with_document(document, rng, [&] {
    fit_and_test(q, rows, rng, host, on_observed, document);
    return ResultsStatus::complete;
  });
}

}  // namespace torvi::regress
