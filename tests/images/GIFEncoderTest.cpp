// The LZW encoder's hash table: keys that share a first slot, and the wrap
// from the last slot to the first.
#include "images/GIFEncoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// The first keys from `from` on whose first slot is slot.
std::vector<std::uint32_t> KeysAt(int slot, std::uint32_t from, size_t count)
{
    std::vector<std::uint32_t> keys;
    for (std::uint32_t key = from; key < (1u << 20) && keys.size() < count; ++key)
        if (THashTable::Home(key) == slot)
            keys.push_back(key);
    return keys;
}

} // namespace

TEST(GIFEncoderHash, CollidingKeysEachKeepTheirCode)
{
    THashTable table;
    const int home = THashTable::Home(5);
    const std::vector<std::uint32_t> same = KeysAt(home, 6, 2);
    const std::vector<std::uint32_t> next = KeysAt(home + 1, 0, 1);
    ASSERT_EQ(same.size(), 2u);
    ASSERT_EQ(next.size(), 1u);
    // 5 takes its slot, the first colliding key the next one, whose own key
    // then goes one further, and the second colliding key after that.
    table.Insert(5, 300);
    table.Insert(same[0], 301);
    table.Insert(next[0], 302);
    table.Insert(same[1], 303);
    EXPECT_EQ(table.Lookup(5), 300);
    EXPECT_EQ(table.Lookup(same[0]), 301);
    EXPECT_EQ(table.Lookup(next[0]), 302);
    EXPECT_EQ(table.Lookup(same[1]), 303);
    EXPECT_EQ(table.Lookup(KeysAt(home, same[1] + 1, 1).at(0)), -1) << "a key of the same slot not stored";

    const std::vector<std::uint32_t> last = KeysAt(THashTable::kSize - 1, 0, 2);
    ASSERT_EQ(last.size(), 2u);
    table.Insert(last[0], 1);
    table.Insert(last[1], 2);
    EXPECT_EQ(table.Lookup(last[0]), 1);
    EXPECT_EQ(table.Lookup(last[1]), 2) << "the probe wraps to the first slot";
    table.Clear();
    EXPECT_EQ(table.Lookup(5), -1);
}

TEST(GIFEncoderHash, AFullDictionaryLeavesEveryKeyFindable)
{
    // 4095 strings, as many as an encoder stores before it clears.
    THashTable table;
    std::vector<std::uint32_t> keys;
    for (std::uint32_t prefix = 0; keys.size() < 4095; ++prefix)
        for (std::uint32_t pixel = 0; pixel < 256 && keys.size() < 4095; pixel += 37)
            keys.push_back(prefix << 8 | pixel);
    for (size_t i = 0; i < keys.size(); ++i)
        table.Insert(keys[i], static_cast<int>(i));
    for (size_t i = 0; i < keys.size(); ++i)
        ASSERT_EQ(table.Lookup(keys[i]), static_cast<int>(i)) << keys[i];
    EXPECT_EQ(table.Lookup(0xFFFFF), -1);
}

TEST(GIFEncoderHash, ClearingEmptiesTheTableWhetherFewOrManyKeysWereStored)
{
    // Few keys are emptied one by one, many by emptying the whole table.
    THashTable table;
    for (int stored : {1, 10, THashTable::kSize / 8, THashTable::kSize / 8 + 1, 4095}) {
        std::vector<std::uint32_t> keys;
        for (std::uint32_t key = 0; keys.size() < static_cast<size_t>(stored); key += 131)
            keys.push_back(key & 0xFFFFF);
        for (size_t i = 0; i < keys.size(); ++i)
            table.Insert(keys[i], static_cast<int>(i));
        table.Clear();
        for (std::uint32_t key : keys)
            ASSERT_EQ(table.Lookup(key), -1) << stored << " stored, key " << key;
        table.Insert(keys.back(), 7);
        EXPECT_EQ(table.Lookup(keys.back()), 7) << stored << " stored";
        table.Clear();
    }
}
