// The linked list: current position, data access, release and destroy, the count of lists alive,
// and lists that fail the check still being freed node by node exactly once (leaks and double
// frees show under the sanitizer build).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "ComLList.h"
#include "FrameworkTestUtil.h"

namespace {

class ComLListTest : public fwtest::TempDirTest {
 protected:
  void SetUp() override {
    fwtest::TempDirTest::SetUp();
    ASSERT_EQ(ComLListCreate(&list_, sizeof(int32_t)), 1);
  }
  void TearDown() override {
    if (list_.setup == 1) ComLListDestroy(&list_);
    fwtest::TempDirTest::TearDown();
  }
  int32_t Add(int32_t v, char make_current = 0) { return ComLListAdd(&list_, &v, make_current, sizeof(v)); }
  int32_t At(int32_t i) {
    int32_t v = -999;
    ComLListCopyElementData(&list_, i, sizeof(v), &v);
    return v;
  }
  _ComLList list_;
};

TEST_F(ComLListTest, CurrentElementAndIndexAccess) {
  EXPECT_EQ(Add(10), 0);
  EXPECT_EQ(Add(11), 1);
  EXPECT_EQ(Add(12), 2);
  EXPECT_EQ(list_.current_index, 0) << "adds without makeCurrent leave the first current";
  EXPECT_EQ(list_.current, list_.head);
  EXPECT_EQ(Add(13, 1), 3);
  EXPECT_EQ(list_.current_index, 3);
  EXPECT_EQ(list_.current, list_.tail);
  EXPECT_EQ(ComLListGetNumElements(&list_), 4);
  EXPECT_EQ(At(0) * 1000 + At(1) * 100 + At(3), 10000 + 1100 + 13);

  EXPECT_EQ(ComLListGetElement(&list_, 4), nullptr);
  EXPECT_TRUE(Logged("ComLListGetElement", "Bad index 4 [max = 4]"));
  EXPECT_EQ(ComLListGetElement(&list_, -1), nullptr);

  int32_t* data = static_cast<int32_t*>(ComLListGetElementData(&list_, 2, sizeof(int32_t)));
  ASSERT_NE(data, nullptr);
  *data = 42;
  EXPECT_EQ(At(2), 42) << "the data block itself, not a copy";
  int32_t v = 77;
  EXPECT_EQ(ComLListOverwriteData(&list_, 1, &v, sizeof(v)), 1);
  EXPECT_EQ(At(1), 77);

  int index = -1;
  EXPECT_EQ(ComLListDoesEntryDataExist(&list_, &v, sizeof(v), &index), 1);
  EXPECT_EQ(index, 1);
  int32_t absent = 5;
  EXPECT_EQ(ComLListDoesEntryDataExist(&list_, &absent, sizeof(absent), &index), 0);
  EXPECT_EQ(ComLListDoesEntryDataExist(&list_, nullptr, sizeof(absent), &index), 0);

  EXPECT_EQ(ComLListAdd(&list_, &v, 0, 8), -1);
  EXPECT_EQ(ComLListGetElementData(&list_, 0, 2), nullptr);
  EXPECT_EQ(ComLListCopyElementData(&list_, 0, sizeof(v), nullptr), 0);
  EXPECT_EQ(ComLListOverwriteData(&list_, 0, nullptr, sizeof(v)), 0);
  EXPECT_EQ(Log(), ErrorLine("ComLListGetElement", "Bad index 4 [max = 4]") +
                       ErrorLine("ComLListGetElement", "Bad index -1 [max = 4]") +
                       ErrorLine("ComLListAdd", "Size not ok") +
                       ErrorLine("ComLListGetElementData", "Size not ok") +
                       ErrorLine("ComLListCopyElementData", "Bad Parameters") +
                       ErrorLine("ComLListOverwriteData", "No data passed in"));
}

TEST_F(ComLListTest, FailedSetCurrentPosKeepsTheCurrentElement) {
  for (int i = 0; i < 4; i++) Add(i);
  ASSERT_EQ(ComLListSetCurrentPos(&list_, 2), 1);
  _ComLListNode* current = list_.current;
  for (int32_t bad : {4, -1, 1000}) {
    EXPECT_EQ(ComLListSetCurrentPos(&list_, bad), 0);
    EXPECT_EQ(list_.current, current);
    EXPECT_EQ(list_.current_index, 2);
  }
  EXPECT_TRUE(Logged("ComLListSetCurrentPos", "Bad pos [max = 4]"));
  EXPECT_EQ(ComLListIsListOk(&list_), 1) << "the list still passes its check";
  EXPECT_EQ(Add(9), 4);
}

TEST_F(ComLListTest, ElementsWithoutDataAndHandedOverBlocks) {
  EXPECT_EQ(ComLListAdd(&list_, nullptr, 0, sizeof(int32_t)), 0);
  EXPECT_EQ(ComLListAddP(&list_, nullptr, 0, sizeof(int32_t)), 1);
  void* none = nullptr;
  EXPECT_EQ(ComLListAddP(&list_, &none, 0, sizeof(int32_t)), 2);
  void* block = malloc(sizeof(int32_t));
  *static_cast<int32_t*>(block) = 5;
  EXPECT_EQ(ComLListAddP(&list_, &block, 1, sizeof(int32_t)), 3);
  EXPECT_EQ(ComLListGetElementData(&list_, 3, sizeof(int32_t)), block) << "the block is kept, not copied";
  EXPECT_EQ(ComLListGetElementData(&list_, 0, sizeof(int32_t)), nullptr);
  EXPECT_TRUE(Logged("ComLListGetElementData", "No data at index 0"));
  int32_t v = 5;
  EXPECT_EQ(ComLListCopyElementData(&list_, 1, sizeof(v), &v), 0);
  EXPECT_TRUE(Logged("ComLListCopyElementData", "No data at index 1"));
  EXPECT_EQ(ComLListOverwriteData(&list_, 2, &v, sizeof(v)), 0);
  EXPECT_TRUE(Logged("ComLListOverwriteData", "No data at index 2"));
  int index = -1;
  EXPECT_EQ(ComLListDoesEntryDataExist(&list_, &v, sizeof(v), &index), 1);
  EXPECT_EQ(index, 3);
  int32_t w = 6;
  void* both = &w;
  EXPECT_EQ(ComLListDoesEntryDataExist(&list_, both, sizeof(w), nullptr), 0);
  // The list frees the handed-over block (a leak would show under the sanitizer).
}

TEST_F(ComLListTest, ReleaseAllKeepsTheListUsable) {
  for (int i = 0; i < 5; i++) Add(i);
  EXPECT_EQ(ComLListReleaseAll(&list_), 1);
  EXPECT_EQ(list_.count, 0);
  EXPECT_EQ(list_.head, nullptr);
  EXPECT_EQ(list_.tail, nullptr);
  EXPECT_EQ(list_.current, nullptr);
  EXPECT_EQ(list_.current_index, -1);
  EXPECT_EQ(list_.setup, 1);
  EXPECT_EQ(list_.element_size, 4);
  EXPECT_EQ(Add(7), 0);
  EXPECT_EQ(list_.current_index, 0);
  EXPECT_EQ(At(0), 7);
}

// Lists that fail the check: a wrong count, a link loop, a missing link. Every node is freed
// once and the release ends.
TEST_F(ComLListTest, ReleaseFreesEveryNodeOfAnInconsistentList) {
  for (int i = 0; i < 3; i++) Add(i);
  list_.count = 1;
  EXPECT_EQ(ComLListIsListOk(&list_), 0);
  EXPECT_EQ(ComLListReleaseAll(&list_), 0);
  EXPECT_TRUE(Logged("ComLListReleaseAll", "Freed too many"));
  EXPECT_EQ(list_.count, 0);
  EXPECT_EQ(list_.head, nullptr);

  for (int i = 0; i < 3; i++) Add(i);
  list_.tail->next = list_.head;  // a loop
  list_.head->prev = list_.tail;
  EXPECT_EQ(ComLListGetNumElements(&list_), 0);
  EXPECT_EQ(ComLListReleaseAll(&list_), 0);
  EXPECT_EQ(list_.head, nullptr);

  for (int i = 0; i < 4; i++) Add(i);
  list_.head->next->next = nullptr;  // the forward chain broken after two nodes
  list_.count = 10;
  ComLListReleaseAll(&list_);  // the nodes behind the break are reached from the tail
  EXPECT_EQ(list_.count, 0);
  EXPECT_EQ(list_.tail, nullptr);

  for (int i = 0; i < 3; i++) Add(i);
  list_.count = 7;
  ComLListDestroy(&list_);  // destroy frees an inconsistent list as well
  EXPECT_EQ(list_.setup, 0);
}

TEST_F(ComLListTest, ListsNotSetUp) {
  _ComLList bad;
  memset(&bad, 0x5a, sizeof(bad));
  EXPECT_EQ(ComLListCreate(&bad, 0), 0);
  EXPECT_EQ(bad.setup, 0) << "zeroed, not set up";
  EXPECT_EQ(bad.head, nullptr);
  int32_t v = 1;
  EXPECT_EQ(ComLListAdd(&bad, &v, 0, 4), -1);
  EXPECT_EQ(ComLListReleaseAll(&bad), 0);
  ComLListDestroy(&bad);
  EXPECT_EQ(ComLListCreate(nullptr, 4), 0);
  EXPECT_EQ(ComLListIsListOk(nullptr), 0);
  EXPECT_EQ(Log(), ErrorLine("ComLListCreate", "Bad element size [0]") +
                       ErrorLine("ComLListIsListOk", "List not setup") +
                       ErrorLine("ComLListReleaseAll", "List not setup") +
                       ErrorLine("ComLListDestroy", "List not created") +
                       ErrorLine("ComLListIsListOk", "List not ok"));
}

TEST_F(ComLListTest, CountOfListsAlive) {
  ComLListDestroy(&list_);
  ASSERT_EQ(ComLListExit(), 1) << "every earlier list was destroyed";
  _ComLList a, b;
  ASSERT_EQ(ComLListCreate(&a, 8), 1);
  ASSERT_EQ(ComLListCreate(&b, 8), 1);
  ComLListDestroy(&a);
  EXPECT_EQ(ComLListExit(), 0);
  EXPECT_TRUE(Logged("ComLListExit", "1 list(s) not destroyed"));
  ComLListDestroy(&a);
  EXPECT_TRUE(Logged("ComLListDestroy", "List not created"));
  ComLListDestroy(&b);
  EXPECT_EQ(ComLListExit(), 1);
}

}  // namespace
