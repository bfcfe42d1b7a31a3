#include "util/progress_clock.h"

#include <gtest/gtest.h>

namespace torvi {
namespace {

TEST(ProgressClock, EstimatesTheRestFromTheRateSoFar) {
  const ProgressTime t = progress_time(10.0, 250, 1000);
  EXPECT_DOUBLE_EQ(t.elapsed_seconds, 10.0);
  ASSERT_TRUE(t.remaining_seconds);
  EXPECT_DOUBLE_EQ(*t.remaining_seconds, 30.0);
  EXPECT_EQ(progress_time_text(t), "elapsed 0:10, about 0:30 left");
  EXPECT_DOUBLE_EQ(*progress_time(10.0, 1000, 1000).remaining_seconds, 0.0);
  EXPECT_DOUBLE_EQ(*progress_time(10.0, 1200, 1000).remaining_seconds, 0.0) << "steps beyond the range";
}

TEST(ProgressClock, NoEstimateBeforeThereIsARate) {
  EXPECT_FALSE(progress_time(5.0, 0, 1000).remaining_seconds);
  EXPECT_FALSE(progress_time(0.1, 10, 1000).remaining_seconds) << "too early to say";
  EXPECT_FALSE(progress_time(5.0, 10, 0).remaining_seconds);
  EXPECT_EQ(progress_time_text(progress_time(5.0, 0, 1000)), "elapsed 0:05");
  EXPECT_EQ(progress_time(-1.0, 0, 10).elapsed_seconds, 0.0) << "a clock read out of order";
}

TEST(ProgressClock, DurationsReadAsClockTimes) {
  EXPECT_EQ(duration_text(0), "0:00");
  EXPECT_EQ(duration_text(59.9), "0:59");
  EXPECT_EQ(duration_text(754), "12:34");
  EXPECT_EQ(duration_text(3723), "1:02:03");
  EXPECT_EQ(duration_text(1e30), "99:59:59") << "a wild estimate stays a time";
  EXPECT_EQ(duration_text(-3), "0:00");
}

}  // namespace
}  // namespace torvi
