// Handles given back exactly once, by whichever owner holds them last.
#include "platform/base/unique_handle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/global_memory.h"

namespace {

std::vector<HANDLE> freed;

struct RecordingFreer {
  void operator()(HANDLE h) const { freed.push_back(h); }
};
using Recorded = UniqueResource<HANDLE, RecordingFreer>;

HANDLE Fake(int n) { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x1000 + n)); }

TEST(UniqueResource, GivesBackOnceWhoeverHoldsItLast) {
  freed.clear();
  {
    Recorded a(Fake(1));
    Recorded b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), Fake(1));
    Recorded c(Fake(2));
    c = std::move(b);  // c's own goes now
    EXPECT_EQ(freed, (std::vector<HANDLE>{Fake(2)}));
    c.reset(Fake(3));
    EXPECT_EQ(freed, (std::vector<HANDLE>{Fake(2), Fake(1)}));
    Recorded d(Fake(4));
    EXPECT_EQ(d.release(), Fake(4));  // handed over: not freed here
  }
  EXPECT_EQ(freed, (std::vector<HANDLE>{Fake(2), Fake(1), Fake(3)}));
}

TEST(UniqueResource, NullAndTheInvalidHandleAreNone) {
  freed.clear();
  {
    Recorded none;
    Recorded invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none);
    EXPECT_FALSE(invalid);
    EXPECT_EQ(invalid.get(), nullptr);
    invalid.reset(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid);
  }
  EXPECT_TRUE(freed.empty());
}

TEST(UniqueResource, RealSearchesAndBlocks) {
  WIN32_FIND_DATAA found;
  EXPECT_FALSE(UniqueFindHandle(FindFirstFileA("C:\\no such folder here\\*", &found)));
  char windows[MAX_PATH] = "";
  ASSERT_GT(GetWindowsDirectoryA(windows, sizeof windows), 0u);
  EXPECT_TRUE(UniqueFindHandle(FindFirstFileA((std::string(windows) + "\\*").c_str(), &found)));

  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, 4));
  ASSERT_TRUE(block);
  {
    const GlobalLockScope lock(block.get());
    ASSERT_NE(lock.data(), nullptr);
    EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 1u);
  }
  EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
  EXPECT_EQ(GlobalLockScope(nullptr).data(), nullptr);
}

}  // namespace
