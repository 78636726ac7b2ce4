// AddressSet against std::unordered_set: random addresses (aligned as objects are, and clustered
// as an allocator hands them out), duplicates, null, and more members than the set was made for.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_set>
#include <vector>

#include "base/address_set.h"

namespace {

using tinyhorde::AddressSet;

const void* Address(std::uintptr_t value) {
  return reinterpret_cast<const void*>(value);
}

struct SetCase {
  const char* name;
  std::size_t expected;   // what the set is made for
  std::size_t inserts;    // how many addresses are drawn, duplicates included
  std::uintptr_t stride;  // addresses are base + stride * k
};

void PrintTo(const SetCase& c, std::ostream* os) {
  *os << c.name;
}

class AddressSetCases : public ::testing::TestWithParam<SetCase> {};

TEST_P(AddressSetCases, AnswersAsAHashSetDoes) {
  const SetCase& c = GetParam();
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<std::uintptr_t> pick(0, 4 * c.inserts + 3);
    const std::uintptr_t base = 0x7f0000000000 + 0x1000 * seed;
    AddressSet set(c.expected);
    std::unordered_set<const void*> model;
    for (std::size_t i = 0; i < c.inserts; ++i) {
      const void* address = Address(base + c.stride * pick(random));
      set.Insert(address);
      model.insert(address);
    }
    set.Insert(nullptr);
    ASSERT_EQ(set.size(), model.size()) << "seed " << seed;
    EXPECT_FALSE(set.Contains(nullptr));
    // Every drawable address: members and the others around them.
    for (std::uintptr_t k = 0; k <= 4 * c.inserts + 4; ++k) {
      const void* address = Address(base + c.stride * k);
      ASSERT_EQ(set.Contains(address), model.count(address) != 0) << "seed " << seed << " k " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, AddressSetCases,
                         ::testing::Values(SetCase{"Empty", 0, 0, 16},
                                           SetCase{"MadeForNone", 0, 40, 16},
                                           SetCase{"AsMadeFor", 500, 500, 16},
                                           SetCase{"FarBeyond", 10, 3000, 8},
                                           SetCase{"ObjectSized", 1000, 1000, 1872},
                                           SetCase{"PageApart", 300, 300, 4096}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
