// The slot table behind every handle: stale, foreign and zero handles find nothing, freed
// slots come back under new handles, and a removed value lets go of what it owns.
#include "core/handles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using sktch::platform::HandleTable;

constexpr std::uint32_t kIndexPart = (1u << 20) - 1;

TEST(HandleTable, StaleForeignAndZeroHandlesFindNothing) {
    HandleTable<std::string> table;
    const std::uint32_t first = table.add("first");
    ASSERT_NE(first, 0u);
    EXPECT_EQ(*table.get(first), "first");
    EXPECT_EQ(table.get(0), nullptr);
    EXPECT_EQ(table.get(first + 1), nullptr) << "an index never given out";
    EXPECT_EQ(table.get(first ^ (1u << 25)), nullptr) << "the right slot, another generation";

    EXPECT_TRUE(table.remove(first));
    EXPECT_EQ(table.get(first), nullptr);
    EXPECT_FALSE(table.remove(first));

    const std::uint32_t second = table.add("second");
    EXPECT_EQ(second & kIndexPart, first & kIndexPart) << "the freed slot is reused";
    EXPECT_NE(second, first) << "under a new handle";
    EXPECT_EQ(table.get(first), nullptr);
    EXPECT_EQ(*table.get(second), "second");
}

TEST(HandleTable, FreedSlotsComeBackLastFreedFirstAndAreNotVisited) {
    HandleTable<int> table;
    const std::uint32_t a = table.add(1);
    table.add(2);
    const std::uint32_t c = table.add(3);
    table.remove(a);
    table.remove(c);

    std::vector<int> visited;
    table.for_each([&](std::uint32_t, int v) { visited.push_back(v); });
    EXPECT_EQ(visited, std::vector<int>{2}) << "removed values are not visited";
    const std::uint32_t d = table.add(4), e = table.add(5), f = table.add(6);
    EXPECT_EQ(d & kIndexPart, c & kIndexPart);
    EXPECT_EQ(e & kIndexPart, a & kIndexPart);
    EXPECT_EQ(f & kIndexPart, 4u) << "a new slot once the free ones are taken";

    int sum = 0, count = 0;
    table.for_each([&](std::uint32_t handle, int v) {
        EXPECT_EQ(*table.get(handle), v);
        sum += v;
        ++count;
    });
    EXPECT_EQ(count, 4);
    EXPECT_EQ(sum, 2 + 4 + 5 + 6);
}

TEST(HandleTable, RemovedValuesLetGoOfWhatTheyOwn) {
    auto owned = std::make_shared<int>(7);
    HandleTable<std::shared_ptr<int>> table;
    const std::uint32_t handle = table.add(owned);
    EXPECT_EQ(owned.use_count(), 2);
    table.remove(handle);
    EXPECT_EQ(owned.use_count(), 1);

    const std::uint32_t next = table.add(std::make_shared<int>(8));  // over the emptied slot
    EXPECT_EQ(**table.get(next), 8);
    EXPECT_EQ(owned.use_count(), 1);
}

TEST(HandleTable, OneSlotReusedManyTimesNeverRepeatsTheLastHandleNorGivesZero) {
    HandleTable<int> table;
    std::uint32_t previous = table.add(0);
    for (int i = 1; i < 5000; ++i) {
        table.remove(previous);
        const std::uint32_t handle = table.add(i);
        ASSERT_NE(handle, 0u);
        ASSERT_NE(handle, previous);
        ASSERT_NE(handle >> 20, 0u) << "the generation part is never 0";
        ASSERT_EQ(table.get(previous), nullptr);
        previous = handle;
    }
}

}  // namespace
