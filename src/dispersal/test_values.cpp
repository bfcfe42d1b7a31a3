#include "dispersal/test_values.h"

#include <algorithm>
#include <cmath>

namespace torvi::dispersal {

namespace {

Value magnitude(const Value& d) {
  if (!d) return std::nullopt;
  return std::fabs(*d);
}

void set_test(const TestChoice& choice, DispersalTest test, const Value& d, TestValues& v) {
  const auto i = static_cast<size_t>(test);
  v.d[i] = d;
  v.compared[i] = choice.two_sided ? magnitude(d) : d;
}

}  // namespace

bool TestChoice::any_set_statistic() const {
  return std::any_of(ticked.begin() + 2, ticked.end(), [](bool t) { return t; });
}

void assignment_values(const TestChoice& choice, const AssignmentStatistics& a, TestValues& v) {
  set_test(choice, DispersalTest::assign_t, a.t, v);
  const Value& vp = a.phil.var;
  const Value& vd = a.disp.var;
  set_test(choice, DispersalTest::assign_var, vd && vp ? ratio(*vd, *vp) : std::nullopt, v);
  if (choice.two_sided) {
    const auto i = static_cast<size_t>(DispersalTest::assign_var);
    v.compared[i] = vd && vp ? ratio(std::max(*vd, *vp), std::min(*vd, *vp)) : std::nullopt;
  }
}

void set_values(const TestChoice& choice, const SetStatistics& phil, const SetStatistics& disp, TestValues& v) {
  set_test(choice, DispersalTest::fst, minus(phil.fst, disp.fst), v);
  set_test(choice, DispersalTest::fis, minus(disp.fis, phil.fis), v);
  set_test(choice, DispersalTest::rel, minus(phil.rel, disp.rel), v);
  set_test(choice, DispersalTest::ho, minus(disp.ho, phil.ho), v);
  set_test(choice, DispersalTest::hs, minus(disp.hs, phil.hs), v);
}

}  // namespace torvi::dispersal
