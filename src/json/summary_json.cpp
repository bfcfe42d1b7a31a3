#include "json/summary_json.h"

namespace torvi {

namespace {

constexpr const char* kNoIndividuals = "no individuals";

Json rate_json(const std::optional<double>& rate) { return rate ? json_real(*rate) : json_na(kNoIndividuals); }

Json samples_json(const DataSummary& sum) {
  Json out = Json::array();
  for (int s = 1; s <= sum.np; ++s) {
    const SampleSummary& sample = sum.samples[static_cast<size_t>(s) - 1];
    out.push_back({{"sample", s},
                   {"individuals", sample.individuals},
                   {"missing_genotypes", sample.missing_genotypes},
                   {"missing_rate", rate_json(sum.sample_missing_rate(s))}});
  }
  return out;
}

Json loci_json(const DataSummary& sum) {
  Json out = Json::array();
  for (int l = 1; l <= sum.nl; ++l) {
    const LocusSummary& loc = sum.loci[static_cast<size_t>(l) - 1];
    Json j = {{"locus", l}, {"name", loc.name}, {"alleles_present", loc.alleles_present}};
    j["allele_range"] = loc.alleles_present > 0 ? Json::array({loc.smallest_allele, loc.largest_allele}) : Json();
    j["typed_individuals"] = loc.typed_individuals;
    j["missing_rate"] = rate_json(sum.locus_missing_rate(l));
    j["monomorphic_in_every_sample"] = loc.monomorphic_in_every_sample;
    out.push_back(std::move(j));
  }
  return out;
}

Json untyped_json(const DataSummary& sum) {
  Json out = Json::array();
  for (const UntypedIndividual& u : sum.untyped) out.push_back({{"individual", u.individual}, {"sample", u.sample}});
  return out;
}

}  // namespace

Json data_summary_json(const DataSummary& sum) {
  Json j = Json::object();
  j["file"] = sum.path;
  j["sample_count"] = sum.np;
  j["locus_count"] = sum.nl;
  j["highest_allele"] = sum.nu;
  j["allele_digits"] = sum.allele_digits;
  j["individuals"] = sum.individuals;
  j["missing_genotypes"] = sum.missing_genotypes;
  j["missing_rate"] = rate_json(sum.missing_rate());
  j["samples"] = samples_json(sum);
  j["loci"] = loci_json(sum);
  j["monomorphic_loci"] = sum.monomorphic_loci();
  j["untyped_individuals"] = untyped_json(sum);
  return j;
}

Json summary_document(const CommandRecord& command, const RunClock& clock, const std::vector<SummaryEntry>& files) {
  Json doc = document_head(kSummaryFormat, command, clock);
  Json list = Json::array();
  for (const SummaryEntry& f : files) {
    if (f.read)
      list.push_back(data_summary_json(f.summary));
    else
      list.push_back({{"file", f.path}, {"refused", f.message}});
  }
  doc["files"] = std::move(list);
  return doc;
}

}  // namespace torvi
