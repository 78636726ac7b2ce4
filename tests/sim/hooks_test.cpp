// The simulated host's hook chaining: detours run newest first, each reaching the next through
// its slot, and removing one relinks the chain around exactly that detour.
#include <gtest/gtest.h>

#include <string>

#include "sim/hooks.h"

namespace {

std::string trace;
void* slot_a = nullptr;
void* slot_b = nullptr;
void* slot_c = nullptr;

using Fn = void (*)();
void Game() {
  trace += "game;";
}
void A() {
  trace += "a;";
  reinterpret_cast<Fn>(slot_a)();
}
void B() {
  trace += "b;";
  reinterpret_cast<Fn>(slot_b)();
}
void C() {
  trace += "c;";
  reinterpret_cast<Fn>(slot_c)();
}

void* Ptr(Fn f) {
  return reinterpret_cast<void*>(f);
}

class HookChain : public ::testing::Test {
 protected:
  void SetUp() override {
    trace.clear();
    point = &table.Declare("Thing.Do()", Ptr(&Game));
  }
  void Call() {
    trace.clear();
    sim::HookTable::Entry<Fn> (*point)();
  }
  sim::HookTable table;
  const sim::HookTable::Point* point = nullptr;
};

TEST_F(HookChain, DetoursRunNewestFirstAndReachTheGame) {
  ASSERT_TRUE(table.Install("Thing.Do()", Ptr(&A), &slot_a));
  ASSERT_TRUE(table.Install("Thing.Do()", Ptr(&B), &slot_b));
  Call();
  EXPECT_EQ(trace, "b;a;game;");
  EXPECT_EQ(table.InstalledCount(), 2u);
}

TEST_F(HookChain, RemovingTheMiddleDetourRelinksItsNeighbours) {
  table.Install("Thing.Do()", Ptr(&A), &slot_a);
  table.Install("Thing.Do()", Ptr(&B), &slot_b);
  table.Install("Thing.Do()", Ptr(&C), &slot_c);
  ASSERT_TRUE(table.Remove("Thing.Do()", Ptr(&B)));
  Call();
  EXPECT_EQ(trace, "c;a;game;");
  ASSERT_TRUE(table.Remove("Thing.Do()", Ptr(&C)));
  Call();
  EXPECT_EQ(trace, "a;game;");
  ASSERT_TRUE(table.Remove("Thing.Do()", Ptr(&A)));
  Call();
  EXPECT_EQ(trace, "game;");
}

TEST_F(HookChain, RemovingTheOldestKeepsTheNewer) {
  table.Install("Thing.Do()", Ptr(&A), &slot_a);
  table.Install("Thing.Do()", Ptr(&B), &slot_b);
  ASSERT_TRUE(table.Remove("Thing.Do()", Ptr(&A)));
  Call();
  EXPECT_EQ(trace, "b;game;");
}

TEST_F(HookChain, RefusedUnknownAndAbsentHooksAnswerFalse) {
  table.Refuse("Thing.Do()");
  EXPECT_FALSE(table.Install("Thing.Do()", Ptr(&A), &slot_a));
  EXPECT_FALSE(table.Install("Other.Do()", Ptr(&A), &slot_a));
  EXPECT_FALSE(table.Remove("Thing.Do()", Ptr(&A)));
  Call();
  EXPECT_EQ(trace, "game;");
}

TEST_F(HookChain, InstallingTheSameDetourTwiceLoopsAsARealDetourLibraryWould) {
  // What a plugin that starts twice without stopping would do: the slot then leads back into the
  // detour itself. The chain is built faithfully; the plugin must avoid it.
  table.Install("Thing.Do()", Ptr(&A), &slot_a);
  table.Install("Thing.Do()", Ptr(&A), &slot_a);
  EXPECT_EQ(slot_a, Ptr(&A));
  table.Remove("Thing.Do()", Ptr(&A));
  table.Remove("Thing.Do()", Ptr(&A));
  EXPECT_EQ(table.InstalledCount(), 0u);
}

}  // namespace
