#include "data/data_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::ScriptedHost;

struct Record {
  int32_t sample;
  std::vector<int32_t> codes;
  bool operator==(const Record&) const = default;
};

const char* kFile = "3 2 12 2\nab#cdefgh\nloc2\n1 0101 1203\n0 1 1\n3 1212 0303\n2 0102 0000\n";

TEST(DataRecords, EachRecordReachesTheSinkAsTheFullReadStoresIt) {
  ScriptedHost host;
  DataSet ds;
  ds.coding_base = 100;
  std::vector<Record> records;
  std::istringstream in(kFile);
  ASSERT_TRUE(read_data_records(host, in, "/d/x.dat", ds, [&](int32_t s, const int32_t* codes) {
    records.push_back({s, {codes, codes + 2}});
  }));
  EXPECT_EQ(records, (std::vector<Record>{{1, {101, 312}}, {3, {1212, 303}}, {2, {102, 0}}}));
  EXPECT_EQ(ds.ni, 3);
  EXPECT_EQ(ds.sample_size, (std::vector<int32_t>{0, 1, 1, 1}));  // counts, not running totals
  EXPECT_EQ(ds.locus_names[1], "ab cde");
  EXPECT_TRUE(ds.codes.empty());

  DataSet whole;
  whole.coding_base = 100;
  std::istringstream again(kFile);
  ASSERT_TRUE(read_data_file(host, again, "/d/x.dat", whole));
  for (int i = 1; i <= whole.ni; ++i) {
    EXPECT_EQ(whole.sample_of[i], records[i - 1].sample);
    EXPECT_EQ(std::vector<int32_t>(whole.genotypes_of(i), whole.genotypes_of(i) + 2), records[i - 1].codes);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST(DataRecords, TheHeaderAsWrittenKeepsNamesUnblankedAndChecksNothing) {
  ScriptedHost host;
  const std::string path = ::testing::TempDir() + "/torvi_header_as_written.dat";
  std::ofstream(path, std::ios::binary) << "900 2 5000 7\nab#cdefgh\nloc2\n";
  DataSet ds;
  ASSERT_TRUE(read_header_as_written(host, path, ds));
  EXPECT_EQ(ds.np, 900);
  EXPECT_EQ(ds.nu, 5000);
  EXPECT_EQ(ds.allele_digits, 7);
  EXPECT_EQ(ds.locus_names, (std::vector<std::string>{"", "ab#cde", "loc2"}));
  EXPECT_FALSE(set_coding_base(host, path, ds));
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_FALSE(read_header_as_written(host, path + ".missing", ds));
  EXPECT_EQ(host.messages.size(), 2u);
}

}  // namespace
}  // namespace torvi
