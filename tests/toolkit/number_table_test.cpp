// The toolkit's number tables: fresh numbers stay inside their own range,
// however many objects come and go, and a full range refuses.
#include <gtest/gtest.h>

#include "toolkit/tk_internal.h"

namespace {

TEST(NumberTable, FreshNumbersWrapRoundWithinTheRangeSkippingLiveOnes) {
  tk::Table<int> t(100, 104);
  // 100 stays alive all along; the others come and go many times over.
  t.items[t.pick(-1)] = 0;
  for (int round = 0; round < 10; ++round) {
    const int32_t n = t.pick(-1);
    ASSERT_GE(n, 101);
    ASSERT_LT(n, 104);
    t.items[n] = round;
    t.items.erase(n);
  }
  EXPECT_EQ(t.items.count(100), 1u);
}

TEST(NumberTable, AFullRangeRefusesAndExplicitNumbersStillWork) {
  tk::Table<int> t(100, 103);
  for (int i = 0; i < 3; ++i) t.items[t.pick(-1)] = i;
  EXPECT_EQ(t.pick(-1), 0);
  t.items.erase(101);
  EXPECT_EQ(t.pick(-1), 101);
  EXPECT_EQ(t.pick(7), 7);
  EXPECT_EQ(t.pick(0), 0);
  EXPECT_EQ(t.pick(-5), 0);
}

}  // namespace
