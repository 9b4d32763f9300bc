#include "base/cursor_list.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "world/list_walk.hpp"

namespace starvane {
namespace {

struct Item {
  int value = 0;
  double padding[4] = {};
};

// Builds a list whose elements hold the given values in order, the last one current.
void Fill(CursorList<Item>& list, std::vector<int> values) {
  for (int v : values) list.AddElement().value = v;
}

std::vector<int> Values(CursorList<Item>& list) {
  std::vector<int> values;
  for (int i = 0; i < list.CountList(); ++i) values.push_back(list.At(i).value);
  return values;
}

TEST(CursorList, AddInsertsAfterCurrentOrAtHeadAndStartsZeroed) {
  CursorList<Item> list;
  Fill(list, {1, 2, 3});
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3}));
  list.SelectElement(0);
  list.AddElement().value = 9;
  EXPECT_EQ(Values(list), (std::vector<int>{1, 9, 2, 3}));
  EXPECT_EQ(list.ListIndex(), 2);
  list.ResetList();
  Item& head = list.AddElement();
  EXPECT_EQ(head.value, 0);
  EXPECT_EQ(head.padding[3], 0.0);
  EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 9, 2, 3}));
  EXPECT_EQ(list.ListIndex(), 1);
}

TEST(CursorList, DeleteMovesTheCursorBackOrToTheNewFirst) {
  CursorList<Item> list;
  Fill(list, {1, 2, 3});  // P Q R with R current
  list.DeleteElement();
  EXPECT_EQ(list.Current().value, 2);
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));

  list.SelectElement(0);
  list.DeleteElement();  // the first: the next becomes current and first
  EXPECT_EQ(list.Current().value, 2);
  EXPECT_EQ(list.ListIndex(), 1);

  list.DeleteElement();  // the only one
  EXPECT_EQ(list.CountList(), 0);
  EXPECT_FALSE(list.HasCurrent());
  list.DeleteElement();  // nothing to delete: nothing happens
  EXPECT_EQ(list.CountList(), 0);
}

TEST(CursorList, NextElementStopsOnTheLastAndAFollowingDeleteRemovesIt) {
  CursorList<Item> list;
  EXPECT_EQ(list.NextElement(), nullptr);
  Fill(list, {1, 2});
  list.ResetList();
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_EQ(list.NextElement()->value, 1);
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(list.NextElement()->value, 2);
  EXPECT_EQ(list.NextElement(), nullptr);
  EXPECT_EQ(list.Current().value, 2);
  list.DeleteElement();
  EXPECT_EQ(Values(list), (std::vector<int>{1}));
}

TEST(CursorList, SelectByIndexClampsPastTheEndAndNegativeMeansNone) {
  CursorList<Item> list;
  EXPECT_EQ(list.SelectElement(0), nullptr);
  Fill(list, {1, 2, 3});
  EXPECT_EQ(list.SelectElement(5)->value, 3);
  EXPECT_EQ(list.ListIndex(), 3);
  EXPECT_EQ(list.SelectElement(1)->value, 2);
  EXPECT_EQ(list.SelectElement(-1), nullptr);
  EXPECT_EQ(list.ListIndex(), 0);
}

TEST(CursorList, WithoutACurrentElementReadsAreZeroAndWritesGoNowhere) {
  CursorList<Item> list;
  list.Current().value = 5;
  EXPECT_EQ(list.Current().value, 0);
  Fill(list, {1});
  list.ResetList();
  list.Current().value = 7;
  EXPECT_EQ(list.At(0).value, 1);
  EXPECT_EQ(list.At(1).value, 0);
  EXPECT_EQ(list.At(-1).value, 0);
}

TEST(CursorList, StorageIsReusedAndRecordsStayWhereTheyAre) {
  CursorList<Item> list;
  Fill(list, {1});
  Item* first = list.SelectElement(0);
  for (int i = 0; i < 1000; ++i) list.AddElement().value = i;  // several storage chunks
  EXPECT_EQ(list.SelectElement(0), first);
  EXPECT_EQ(first->value, 1);
  list.SelectElement(500);
  list.DeleteElement();
  Item& reused = list.AddElement();
  EXPECT_EQ(reused.value, 0);  // a reused slot starts zeroed too
  list.ClearList();
  EXPECT_EQ(list.CountList(), 0);
  EXPECT_EQ(list.ListIndex(), 0);
  Fill(list, {4, 5});
  EXPECT_EQ(Values(list), (std::vector<int>{4, 5}));
}

TEST(CursorList, AWalkThatRemovesVisitsEveryElementOnceTheFirstIncluded) {
  CursorList<Item> list;
  Fill(list, {1, 2, 3, 4, 5});
  std::vector<int> visited;
  WalkListRemoving(list, [&](Item& item) {
    visited.push_back(item.value);
    return item.value < 3 || item.value == 4;  // the first two in a row, then one in between
  });
  EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Values(list), (std::vector<int>{3, 5}));
  EXPECT_EQ(list.ListIndex(), 2) << "ends on the last, as any walk";
  WalkListRemoving(list, [](Item&) { return true; });
  EXPECT_EQ(list.CountList(), 0);
  EXPECT_EQ(list.ListIndex(), 0);
}

}  // namespace
}  // namespace starvane
