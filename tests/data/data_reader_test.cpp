#include "data/data_reader.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/golden.h"
#include "support/scripted_host.h"

namespace torvi {
namespace {

using testing::ScriptedHost;

constexpr const char* kPath = "/data/ex.dat";

// Header check then full read of `text`, as Open and Run do.
struct Reading {
  ScriptedHost host;
  DataSet ds;
  bool header_ok = false;
  bool read_ok = false;

  explicit Reading(const std::string& text) {
    std::istringstream h(text);
    header_ok = check_header(host, h, kPath, ds);
    if (!header_ok) return;
    std::istringstream r(text);
    read_ok = read_data_file(host, r, kPath, ds);
  }
  std::string only_error() const {
    EXPECT_EQ(host.messages.size(), 1u);
    return host.messages.empty() ? std::string() : host.messages[0].text;
  }
};

TEST(DataReader, ReadsTheExampleFile) {
  Reading r("3 2 12 2\nloc1\nloc2\n1 0101 0312\n1 0102 0000\n3 1212 0303\n");
  ASSERT_TRUE(r.read_ok);
  EXPECT_TRUE(r.host.messages.empty());
  const DataSet& ds = r.ds;
  EXPECT_EQ(ds.np, 3);
  EXPECT_EQ(ds.nl, 2);
  EXPECT_EQ(ds.nu, 12);
  EXPECT_EQ(ds.allele_digits, 2);
  EXPECT_EQ(ds.coding_base, 100);
  EXPECT_EQ(ds.nl_used, 2);
  EXPECT_EQ(ds.ni, 3);
  EXPECT_EQ(ds.locus_names[1], "loc1");
  EXPECT_EQ(ds.locus_names[2], "loc2");
  EXPECT_EQ(ds.sample_of[3], 3);
  EXPECT_EQ(ds.geno(1, 1), 101);
  EXPECT_EQ(ds.geno(2, 1), 312);
  EXPECT_EQ(ds.geno(2, 2), 0);
  EXPECT_EQ(ds.geno(1, 3), 1212);
  EXPECT_EQ(ds.missing_count[2], 1);
  EXPECT_EQ(ds.missing_count[1], 0);
  // Running totals; sample 2 has nobody.
  EXPECT_EQ(ds.sample_size, (std::vector<int32_t>{0, 2, 2, 3}));
  EXPECT_EQ(ds.size_of_sample(2), 0);
  EXPECT_EQ(ds.complete_count, (std::vector<int32_t>{0, 1, 0, 1}));
  EXPECT_EQ(ds.locus_selected, (std::vector<uint8_t>{1, 1, 1}));
  EXPECT_EQ(ds.sample_selected, (std::vector<uint8_t>{1, 1, 1, 1}));
}

TEST(DataReader, StoresTheSmallerAlleleFirst) {
  Reading r("1 2 12 2\na\nb\n1 0312 1203\n");
  ASSERT_TRUE(r.read_ok);
  EXPECT_EQ(r.ds.geno(1, 1), 312);
  EXPECT_EQ(r.ds.geno(2, 1), 312);

  Reading three("1 1 999 3\na\n1 999001\n");
  ASSERT_TRUE(three.read_ok);
  EXPECT_EQ(three.ds.geno(1, 1), 1 * 1000 + 999);

  Reading one("1 1 9 1\na\n1 31\n");
  ASSERT_TRUE(one.read_ok);
  EXPECT_EQ(one.ds.geno(1, 1), 13);
}

TEST(DataReader, LocusNames) {
  Reading r("1 4 9 1\nab#cd\nsixteen_chars_xy\n\tx!&'y\nz\r\n1 11 11 11 11\n");
  ASSERT_TRUE(r.read_ok);
  EXPECT_EQ(r.ds.locus_names[1], "ab cd");
  EXPECT_EQ(r.ds.locus_names[2], "sixtee");
  // A tab counts as one of the six characters, then is blanked with "!" and "&".
  EXPECT_EQ(r.ds.locus_names[3], " x  'y");
  EXPECT_EQ(r.ds.locus_names[4], "z");

  // The header check keeps names as they stand.
  ScriptedHost host;
  DataSet ds;
  std::istringstream in("1 1 9 1\nab#cd\n");
  ASSERT_TRUE(check_header(host, in, kPath, ds));
  EXPECT_EQ(ds.locus_names[1], "ab#cd");
}

TEST(DataReader, AcceptsEveryLineEnd) {
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    std::string e = eol;
    Reading r("2 2 12 2" + e + "loc1" + e + "loc2" + e + "1 0101" + e + "0312" + e + "2 0000 1212" + e + e + e);
    ASSERT_TRUE(r.read_ok) << "line end " << static_cast<int>(e.back());
    EXPECT_EQ(r.ds.locus_names[1], "loc1");
    EXPECT_EQ(r.ds.ni, 2);
    EXPECT_EQ(r.ds.geno(2, 1), 312);
    EXPECT_EQ(r.ds.geno(2, 2), 1212);
  }
  Reading no_final_eol("1 1 9 1\na\n1 11");
  ASSERT_TRUE(no_final_eol.read_ok);
  EXPECT_EQ(no_final_eol.ds.ni, 1);
}

TEST(DataReader, SkipsSampleZeroAndRestOfLines) {
  // Sample 0 and negative samples are skipped with their line and not counted;
  // text after the last code of a record is ignored.
  Reading r("2 1 12 2\nloc1\n0 junk here\n-1 0101\n1 0101 extra words\n\n2 0500\n");
  ASSERT_FALSE(r.read_ok);
  EXPECT_EQ(r.only_error(),
            "Miscoded genotype for individual 2\n\rat locus 1. Alleles are 5 and 0\n\r"
            "Correct the data file before rerunning please. Exiting...\n\rLine 7 of /data/ex.dat.");
}

TEST(DataReader, HeaderLimits) {
  std::string names;
  for (int l = 1; l <= 600; ++l) names += "l" + std::to_string(l) + "\n";
  Reading ok("200 600 999 3\n" + names);
  EXPECT_TRUE(ok.header_ok);
  EXPECT_EQ(ok.ds.locus_names.size(), 601u);
  const std::string limit_message =
      "Too many populations, loci or alleles in EX.DAT\n\rNPMax= 200 NLMax= 600 NUMax= 999\n\r"
      "needs recompiling with a higher value for NPMax, NLMax or NUMax.\n\r" + std::string(kContactLine);
  for (const char* first : {"201 600 999 3\n", "200 601 999 3\n", "200 600 1000 3\n"}) {
    Reading r(first);
    EXPECT_FALSE(r.header_ok) << first;
    EXPECT_EQ(r.only_error(), limit_message);
    EXPECT_TRUE(r.host.messages[0].error);
  }
}

TEST(DataReader, FullReadLimits) {
  // The header check passed on an earlier version of the file.
  ScriptedHost host;
  DataSet ds;
  ds.coding_base = 100;
  std::istringstream in("3 601 12 2\n");
  EXPECT_FALSE(read_data_file(host, in, kPath, ds));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "Too many populations, loci or alleles. NPMax= 200 NLMax= 600 NUMax= 999\n\r"
            "needs recompiling with a higher value for NPMax, NLMax or NUMax.\n\r" +
                std::string(kContactLine) + "\n\r        Exiting...");
}

TEST(DataReader, FourthNumber) {
  for (const char* digits : {"0", "4"}) {
    Reading r(std::string("1 1 9 ") + digits + "\nloc\n");
    EXPECT_FALSE(r.header_ok);
    ASSERT_EQ(r.host.messages.size(), 1u);
    EXPECT_FALSE(r.host.messages[0].error);
    EXPECT_EQ(r.host.messages[0].text,
              "error in /data/ex. The 4th number on the first line\n\r"
              "has to be a 1, 2 or a 3, depending in the way alleles are coded.\n\r"
              "Correct and re-run TORVI. Exiting.");
  }
}

TEST(DataReader, CountsBelowOneAreRefused) {
  for (const char* first : {"0 1 9 1\n", "1 -2 9 1\n", "1 1 0 1\n", ""}) {
    Reading r(first);
    EXPECT_FALSE(r.header_ok) << first;
    EXPECT_EQ(r.only_error(),
              "Wrong first line in EX.DAT\n\rThe numbers of samples, loci and alleles have to be 1 or more.\n\r"
              "Correct the data file before rerunning please. Exiting...");
  }
}

TEST(DataReader, SampleAboveDeclared) {
  Reading r("2 1 9 1\na\n1 11\n0 11\n3 11\n");
  EXPECT_FALSE(r.read_ok);
  EXPECT_EQ(r.only_error(),
            "At least one individual belongs to sample 3\n\r"
            "But the number of samples entered on the first line is 2\n\r"
            "Adjust this later number to match the highest sample identifier in use.\n\rExiting...\n\r"
            "Line 5 of /data/ex.dat.");
}

TEST(DataReader, MiscodedGenotypes) {
  struct Case { const char* code; const char* alleles; };
  // Two digits, nu = 12: one part zero, a part above nu, a negative code,
  // and a first part longer than two digits.
  for (Case c : {Case{"0500", "5 and 0"}, Case{"0005", "0 and 5"}, Case{"1301", "13 and 1"},
                 Case{"0113", "1 and 13"}, Case{"-0101", "-1 and -1"}}) {
    Reading r(std::string("1 2 12 2\na\nb\n1 0000 ") + c.code + "\n");
    EXPECT_FALSE(r.read_ok) << c.code;
    EXPECT_EQ(r.only_error(), std::string("Miscoded genotype for individual 1\n\rat locus 2. Alleles are ") +
                                  c.alleles + "\n\rCorrect the data file before rerunning please. Exiting...\n\r"
                                  "Line 4 of /data/ex.dat.");
  }
  Reading wide("1 1 999 2\na\n1 12345\n");
  EXPECT_FALSE(wide.read_ok);
  EXPECT_NE(wide.only_error().find("Alleles are 123 and 45"), std::string::npos);
}

TEST(DataReader, NothingToAnalyseIsRefused) {
  struct Case { std::string text; std::string message; };
  const std::string correct = "\n\rCorrect the data file before rerunning please. Exiting...";
  const Case cases[] = {
      {"2 2 12 2\nloc1\nloc2\n", "The data file /data/ex.dat holds no individuals.\n\rLine 4 of /data/ex.dat." + correct},
      {"2 1 12 2\nloc1\n0 0101\n\n-3 0101\n",
       "The data file /data/ex.dat holds no individuals.\n\rLine 6 of /data/ex.dat." + correct},
      {"2 3 12 2\nloc1\n", "The data file /data/ex.dat ends after 1 of 3 locus names.\n\rLine 3 of /data/ex.dat." + correct},
      // More loci declared than names given: the records would be eaten as names.
      {"3 600 12 2\nloc1\nloc2\n1 0101 0101\n2 0101 0101\n",
       "The data file /data/ex.dat ends after 4 of 600 locus names.\n\rLine 6 of /data/ex.dat." + correct},
  };
  for (const Case& c : cases) {
    Reading r(c.text);
    EXPECT_FALSE(r.header_ok && r.read_ok) << c.text;
    EXPECT_EQ(r.only_error(), c.message);
  }
}

TEST(DataReader, BinaryDataIsNotText) {
  const std::string bad[][2] = {
      {std::string("\0\0\0\0", 4), "1"},
      {std::string("2 1 12 2\nlo\0c1\n1 0101\n", 22), "2"},
      {std::string("2 1 12 2\nloc1\n1 0101 \0\n", 23), "3"},
      {"2 1 12 2\nloc1\n1\x01" "0101\n", "3"},
      {"2 1 12 2\nloc1\n1 0101\n2 01\x02" "01\n", "4"},
  };
  for (const auto& [text, line] : bad) {
    Reading r(text);
    EXPECT_FALSE(r.header_ok && r.read_ok) << line;
    EXPECT_EQ(r.only_error(), "Line " + line + " of /data/ex.dat holds binary data: it is not a data file.\n\r"
                              "Correct the data file before rerunning please. Exiting...");
  }
  // Form feeds, vertical tabs and an old end-of-file mark are white space.
  Reading ok("2 1 12 2\nloc1\n1\v0101\f\n2 0101\n\x1A");
  EXPECT_TRUE(ok.read_ok) << ok.only_error();
  EXPECT_EQ(ok.ds.ni, 2);
}

TEST(DataReader, ByteOrderMarkIsSkipped) {
  Reading r("\xEF\xBB\xBF" "2 1 12 2\nloc1\n1 0101\n");
  EXPECT_TRUE(r.read_ok) << r.only_error();
  EXPECT_EQ(r.ds.np, 2);
  Reading half("\xEF\xBB" "2 1 12 2\nloc1\n1 0101\n");
  EXPECT_FALSE(half.header_ok);
}

TEST(DataReader, RecordEndingEarlyIsNamedAsSuch) {
  Reading r("2 2 12 2\na\nb\n1 0101 0101\n1 0101\n2 0101 0101\n");
  EXPECT_FALSE(r.read_ok);
  EXPECT_EQ(r.only_error(),
            "The record of individual 2 on line 5 of /data/ex.dat holds 1 genotype codes where 2 are expected.\n\r"
            "Correct the data file before rerunning please. Exiting...");
  // A record may go on over the next line.
  Reading ok("2 2 12 2\na\nb\n1 0101\n   0202\n2 0101 0101\n");
  EXPECT_TRUE(ok.read_ok) << ok.only_error();
  EXPECT_EQ(ok.ds.ni, 2);
}

TEST(DataReader, TextWhereANumberIsExpected) {
  Reading header("1 x 9 1\n");
  EXPECT_FALSE(header.header_ok);
  EXPECT_EQ(header.only_error(),
            "Line 1 of /data/ex.dat holds \"x\" where a number is expected.\n\r"
            "Correct the data file before rerunning please. Exiting...");

  Reading code("1 2 12 2\na\nb\n1 0101\n12ab\n");
  EXPECT_FALSE(code.read_ok);
  EXPECT_EQ(code.only_error(),
            "Line 5 of /data/ex.dat holds \"12ab\" where a number is expected.\n\r"
            "Correct the data file before rerunning please. Exiting...");

  Reading sample("1 1 12 2\na\n1 0101\npop1 0101\n");
  EXPECT_FALSE(sample.read_ok);
  EXPECT_NE(sample.only_error().find("Line 4 of /data/ex.dat holds \"pop1\""), std::string::npos);

  Reading huge("1 1 12 2\na\n1 99999999999\n");
  EXPECT_FALSE(huge.read_ok);
  EXPECT_NE(huge.only_error().find("holds \"99999999999\""), std::string::npos);
}

TEST(DataReader, RecordCutByTheEndOfTheFile) {
  Reading r("1 3 12 2\na\nb\nc\n1 0101 0101 0101\n1 0101\n\n");
  EXPECT_FALSE(r.read_ok);
  EXPECT_EQ(r.only_error(),
            "The data file /data/ex.dat ends inside the record of individual 2 (line 8).\n\r"
            "Correct the data file before rerunning please. Exiting...");
}

TEST(DataReader, MissingFile) {
  ScriptedHost host;
  DataSet ds;
  EXPECT_FALSE(check_header(host, "/nonexistent/dir/none.dat", ds));
  ds.coding_base = 10;
  EXPECT_FALSE(read_data_file(host, "/nonexistent/dir/none.dat", ds));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, "Cannot open the data file /nonexistent/dir/none.dat.");
  EXPECT_EQ(host.messages[1].text, host.messages[0].text);
}

TEST(DataReader, UntypedIndividual) {
  Reading r("1 3 9 1\na\nb\nc\n1 00 00 00\n");
  ASSERT_TRUE(r.read_ok);
  EXPECT_EQ(r.ds.missing_count[1], 3);
  EXPECT_EQ(r.ds.complete_count[1], 0);
}

TEST(DataReader, MaxIndividuals) {
  // One locus keeps the files small: 200000 records, then one more.
  testing::TempDir dir("reader_maxind");
  std::string records;
  records.reserve(static_cast<size_t>(MaxInd) * 5);
  for (int i = 0; i < MaxInd; ++i) records += "1 11\n";
  std::string full = dir.write("full.dat", "1 1 9 1\na\n" + records + "0 11\n");
  std::string over = dir.write("over.dat", "1 1 9 1\na\n" + records + "1 11\n");

  ScriptedHost host;
  DataSet ds;
  ASSERT_TRUE(check_header(host, full, ds));
  ASSERT_TRUE(read_data_file(host, full, ds));
  EXPECT_EQ(ds.ni, MaxInd);
  EXPECT_EQ(ds.sample_size[1], MaxInd);
  EXPECT_EQ(ds.complete_count[1], MaxInd);

  EXPECT_FALSE(read_data_file(host, over, ds));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "Too many individuals MaxInd= 200000\n\rneeds recompiling with a higher value for MaxInd\n\r" +
                std::string(kContactLine) + "\n\r        Exiting...");
}

TEST(DataReader, RealDataFiles) {
  ScriptedHost host;
  DataSet ds;
  std::string path = std::string(TORVI_EXAMPLES_DIR) + "/nancycats.dat";
  ASSERT_TRUE(check_header(host, path, ds));
  ASSERT_TRUE(read_data_file(host, path, ds));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(ds.np, 17);
  EXPECT_EQ(ds.nl, 9);
  EXPECT_EQ(ds.locus_names[1], "fca8");
  EXPECT_EQ(ds.sample_size[ds.np], ds.ni);
  EXPECT_GT(ds.ni, 0);
}

}  // namespace
}  // namespace torvi
