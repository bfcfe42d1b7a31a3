#include "page_tooltips.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>

#include "radio_group.h"
#include "run_page.h"

namespace torvi::gui {

namespace {

constexpr const char* kLevelTip =
    "Randomisations so that the Bonferroni-corrected level of the family of tests is reached: 5/100 draws 20, "
    "1/100 draws 100 and 1/1000 draws 1000 times the number of tests; fixed # takes the number below.";
constexpr const char* kCountTip =
    "Number of randomised data sets N, the observed one counted: P = (1 + number at least as extreme) / N; "
    "global tests need at least 200.";

void tip(QWidget* widget, const char* text) { widget->setToolTip(text); }

void statistics_tips(RunPage& p) {
  tip(p.CB_allfreq, "Allele frequencies per locus and sample, with weighted and unweighted means over samples.");
  tip(p.CB_genotfreq, "Counts of each genotype per locus and sample, written to the companion file .x2.");
  tip(p.CB_nal, "Number of alleles seen at each locus in each sample.");
  tip(p.CB_Rar, "Allelic richness: the number of alleles expected in a sample of the smallest size typed, "
                "by rarefaction, so that samples of different sizes compare.");
  tip(p.CB_genediv, "Gene diversity per locus and sample, the expected heterozygosity corrected for sample size "
                    "(Nei 1987).");
  tip(p.CB_fis, "Fis per locus and sample, Weir and Cockerham's (1984) estimate of the deficit of heterozygotes "
                "within the sample.");
  tip(p.CB_nei, "Nei's gene diversities Ho, Hs, Ht and F-statistics per locus and over loci, corrected for "
                "sample size (Nei 1987; Nei and Chesser 1983).");
  tip(p.CB_WC, "Weir and Cockerham's (1984) estimators of Fit, Fst and Fis from variance components, with "
               "relatedness (Queller and Goodnight 1989), jackknife and bootstrap confidence intervals.");
  tip(p.CB_Rst, "Rho_st, the analogue of Fst for allele sizes under a stepwise mutation model, estimated "
                "following Rousset (1996) and Goodman (1997).");
  tip(p.CB_Fstpp, "Weir and Cockerham's (1984) Fst for every pair of samples, in the companion files .mat and .fst.");
}

void test_tips(RunPage& p) {
  tip(p.CB_HWW, "Randomisation test of Hardy-Weinberg proportions within samples: alleles redistributed among "
                "the individuals of each sample, Weir and Cockerham's (1984) f as statistic.");
  tip(p.CB_HWO, "Randomisation test of Hardy-Weinberg proportions over all samples: alleles redistributed among "
                "all individuals, F (Fit) as statistic.");
  tip(p.RG_popdif, "Test of differentiation among samples by the exact G-test (Varendt et al. 1996): genotypes "
                   "permuted among samples, or alleles when random mating is assumed.");
  tip(p.CB_IFis, "Randomisation test of Fis for every locus and sample, the per-sample Fis (Weir and Cockerham "
                 "1984) compared with its values after alleles are redistributed within the sample.");
  tip(p.CB_PPFst, "Exact G-test of differentiation for every pair of samples (Varendt et al. 1996), with marks "
                  "at the Bonferroni-corrected level, in the companion file -pp.pvl.");
  tip(p.CB_dp, "Delta', Weir's composite disequilibrium, averaged per pair of loci, without assuming Hardy-"
               "Weinberg proportions or known phase; companion file -dp.cd.");
  tip(p.CB_r, "R^2, the squared correlation of composite disequilibrium, averaged per pair of loci; companion "
              "file -r2.cd.");
  tip(p.CB_details, "Composite disequilibrium for every pair of alleles of every pair of loci; companion file "
                    "-details.cd.");
  tip(p.CB_Savetables, "The contingency tables of genotypes at each pair of loci, in the companion file "
                       "-tables.ld.");
  tip(p.RG_GDT, "Exact G-test of genotypic disequilibrium between pairs of loci (Varendt et al. 1996): genotypes "
                "at one locus permuted among individuals, over all samples or within each sample.");
  for (RadioGroup* level : {p.RG_MT, p.RG_MTG}) tip(level, kLevelTip);
  for (QSpinBox* count : {p.SpinEdit1, p.SpinEdit2, p.SpinEdit3, p.SpinEdit4, p.SpinEdit5, p.SpinEdit8})
    tip(count, kCountTip);
}

}  // namespace

void add_tooltips(RunPage& page) {
  statistics_tips(page);
  test_tips(page);
}

}  // namespace torvi::gui
