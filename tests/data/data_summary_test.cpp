#include "data/data_summary.h"

#include <gtest/gtest.h>

#include "data/data_reader.h"
#include "data/data_summary_text.h"
#include "json/summary_json.h"
#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::ScriptedHost;
using testing::TempDir;

// Four samples (the fourth has nobody), four loci: locA polymorphic, locB
// with a missing genotype, monoC one allele everywhere it is typed, emptyD
// typed nowhere. Individual 4 is typed at no locus; the record of sample 0
// is skipped by the reader and counts nowhere.
constexpr const char* kData =
    "4 4 12 2\nlocA\nlocB\nmonoC\nemptyD\n"
    "1 0101 0203 0505 0000\n"
    "1 0102 0000 0505 0000\n"
    "0 0101 0101 0101 0101\n"
    "2 0202 0303 0000 0000\n"
    "2 0000 0000 0000 0000\n"
    "3 1201 0403 0505 0000\n";

DataSummary summary_of(const TempDir& dir, const std::string& text) {
  ScriptedHost host;
  DataSummary sum;
  EXPECT_TRUE(summarise_data_file(host, dir.write("x.dat", text), sum));
  EXPECT_TRUE(host.messages.empty());
  return sum;
}

TEST(DataSummary, CountsSamplesLociAndMissingGenotypes) {
  TempDir dir("summary");
  const DataSummary s = summary_of(dir, kData);
  EXPECT_EQ(s.np, 4);
  EXPECT_EQ(s.nl, 4);
  EXPECT_EQ(s.individuals, 5);
  // Missing: 1 + 2 + 2 + 4 + 1 of 5 x 4 genotypes.
  EXPECT_EQ(s.missing_genotypes, 10);
  EXPECT_DOUBLE_EQ(*s.missing_rate(), 0.5);

  ASSERT_EQ(s.samples.size(), 4u);
  EXPECT_EQ(s.samples[0].individuals, 2);
  EXPECT_EQ(s.samples[1].individuals, 2);
  EXPECT_EQ(s.samples[3].individuals, 0);
  EXPECT_DOUBLE_EQ(*s.sample_missing_rate(1), 3.0 / 8);
  EXPECT_DOUBLE_EQ(*s.sample_missing_rate(2), 6.0 / 8);
  EXPECT_DOUBLE_EQ(*s.sample_missing_rate(3), 1.0 / 4);
  EXPECT_FALSE(s.sample_missing_rate(4)) << "a sample with nobody has no rate";
}

TEST(DataSummary, DescribesEachLocus) {
  TempDir dir("summary");
  const DataSummary s = summary_of(dir, kData);
  ASSERT_EQ(s.loci.size(), 4u);
  const LocusSummary &a = s.loci[0], &b = s.loci[1], &c = s.loci[2], &d = s.loci[3];
  EXPECT_EQ(a.name, "locA");
  EXPECT_EQ(a.alleles_present, 3);  // 1, 2 and 12 (written 1201)
  EXPECT_EQ(a.smallest_allele, 1);
  EXPECT_EQ(a.largest_allele, 12);
  EXPECT_EQ(a.typed_individuals, 4);
  EXPECT_DOUBLE_EQ(*s.locus_missing_rate(1), 0.2);
  EXPECT_EQ(b.alleles_present, 3);  // 2, 3, 4
  EXPECT_EQ(b.smallest_allele, 2);
  EXPECT_EQ(b.typed_individuals, 3);
  EXPECT_EQ(c.alleles_present, 1);
  EXPECT_EQ(d.alleles_present, 0);
  EXPECT_EQ(d.typed_individuals, 0);
  EXPECT_DOUBLE_EQ(*s.locus_missing_rate(4), 1.0);

  EXPECT_FALSE(a.monomorphic_in_every_sample) << "sample 1 holds alleles 1 and 2";
  EXPECT_FALSE(b.monomorphic_in_every_sample);
  EXPECT_TRUE(c.monomorphic_in_every_sample);
  EXPECT_FALSE(d.monomorphic_in_every_sample) << "a locus typed nowhere is not called monomorphic";
  EXPECT_EQ(s.monomorphic_loci(), std::vector<int>{3});

  ASSERT_EQ(s.untyped.size(), 1u);
  EXPECT_EQ(s.untyped[0].individual, 4);
  EXPECT_EQ(s.untyped[0].sample, 2);
}

TEST(DataSummary, FixedInEachSampleForDifferentAllelesIsMonomorphicInEverySample) {
  TempDir dir("summary");
  const DataSummary s = summary_of(dir, "2 1 9 1\nL\n1 33\n1 33\n2 77\n2 0\n");
  EXPECT_EQ(s.loci[0].alleles_present, 2);
  EXPECT_TRUE(s.loci[0].monomorphic_in_every_sample);
  EXPECT_EQ(s.untyped.size(), 1u);
}

TEST(DataSummary, ReadingTheFileAndSummarisingTheDataSetAgree) {
  TempDir dir("summary");
  const std::string path = dir.write("x.dat", kData);
  ScriptedHost host;
  DataSet ds;
  ASSERT_TRUE(check_header(host, path, ds));
  ASSERT_TRUE(read_data_file(host, path, ds));
  EXPECT_EQ(json_text(data_summary_json(summarise_data_set(ds, path))),
            json_text(data_summary_json(summary_of(dir, kData))));
}

TEST(DataSummary, RefusedFileGivesTheReadersMessage) {
  TempDir dir("summary");
  ScriptedHost host;
  DataSummary sum;
  EXPECT_FALSE(summarise_data_file(host, dir.write("bad.dat", "2 1 9 1\nL\n1 30\n"), sum));
  ASSERT_EQ(host.texts(true).size(), 1u);
  EXPECT_NE(host.texts(true)[0].find("Miscoded genotype"), std::string::npos);
  EXPECT_FALSE(summarise_data_file(host, dir.file("missing.dat"), sum));
}

TEST(DataSummary, TextNamesTheProblemsAPersonLooksFor) {
  TempDir dir("summary");
  const std::string text = data_summary_text(summary_of(dir, kData));
  EXPECT_NE(text.find("4 samples, 4 loci, 5 individuals"), std::string::npos) << text;
  EXPECT_NE(text.find("missing genotypes: 10 of 20 (50.0%)"), std::string::npos) << text;
  EXPECT_NE(text.find("Loci monomorphic in every sample: monoC\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Individuals untyped at every locus: 1: 4 (sample 2)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  emptyD        0  -              0   100.0%"), std::string::npos) << text;
  EXPECT_NE(text.find("       4            0       NA"), std::string::npos) << text;
}

TEST(DataSummary, LongListsOfUntypedIndividualsAreCut) {
  TempDir dir("summary");
  std::string data = "1 1 9 1\nL\n";
  for (size_t i = 0; i < kUntypedListed + 5; ++i) data += "1 0\n";
  const DataSummary s = summary_of(dir, data);
  EXPECT_EQ(s.untyped.size(), kUntypedListed + 5) << "the record keeps them all";
  const std::string text = data_summary_text(s);
  EXPECT_NE(text.find("untyped at every locus: 25: 1 (sample 1), 2 (sample 1)"), std::string::npos) << text;
  EXPECT_NE(text.find("20 (sample 1), ...\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace torvi
