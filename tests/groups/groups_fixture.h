#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "groups/group_samples.h"
#include "stats/wc_components.h"
#include "run/data_set_lifecycle.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi::testing {

// A data set read from `text`, its count tables turned into frequencies as a
// comparison of groups starts, and the per-sample sums it works from.
struct GroupsFixture {
  TempDir dir{"groups"};
  ScriptedHost host;
  Analysis an;
  std::unique_ptr<GroupSamples> samples;

  explicit GroupsFixture(const std::string& text, bool richness = true) {
    const std::string path = dir.write("data.dat", text);
    EXPECT_TRUE(create_data_set(host, path, an));
    count_alleles(an.ds, an.ct);
    wc_components(an.ct, an.wc, 1, an.ds.np, TablesOf::observed);
    samples = std::make_unique<GroupSamples>(an.ct, richness);
  }
};

}  // namespace torvi::testing
