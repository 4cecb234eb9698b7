#include "classlib/oblist.h"

#include <gtest/gtest.h>

namespace {

TEST(ObjectList, HeadInHeadOutIsAStack) {
  CObList list(2);  // a small granularity makes it grow several times
  CObject items[5];
  for (CObject& item : items) list.AddHead(&item);
  EXPECT_EQ(list.GetCount(), 5u);
  for (int i = 4; i >= 0; --i) {
    EXPECT_EQ(list.GetHead(), &items[i]);
    EXPECT_EQ(list.RemoveHead(), &items[i]);
  }
  EXPECT_TRUE(list.IsEmpty());
}

}  // namespace
