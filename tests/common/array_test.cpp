#include "qr_array.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::vector<int> values(const IntArray& a)
{
    return std::vector<int>(a.begin(), a.end());
}

IntArray ints(std::initializer_list<int> list)
{
    IntArray a;
    for (int v : list)
        a.Add(v);
    return a;
}

}  // namespace

TEST(DArray, GrowsInStepsOfTenAndNeverShrinks)
{
    tgDArray<std::string> a;
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.Capacity(), 10);
    EXPECT_EQ(a.GrowStep(), 10);
    struct Step {
        int adds;
        int capacity;
    } steps[] = {{9, 10}, {10, 20}, {19, 20}, {20, 30}, {31, 40}};
    for (const Step& s : steps) {
        while (a.Count() < s.adds)
            a.Add(std::to_string(a.Count()));
        EXPECT_EQ(a.Capacity(), s.capacity) << s.adds << " items";
    }
    for (int i = 0; i < a.Count(); ++i)
        ASSERT_EQ(a[i], std::to_string(i));

    a.Reserve(5);  // below the capacity: nothing happens
    EXPECT_EQ(a.Capacity(), 40);
    a.Reserve(40);
    EXPECT_EQ(a.Capacity(), 50);
    EXPECT_EQ(a.Count(), 31);
    EXPECT_EQ(a[30], "30");
    a.Clear();
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.Capacity(), 50);
}

TEST(DArray, FreshItemsOfPlainTypes)
{
    PairArray pairs;
    MarkedIntArray marked;
    FormulaCell formula;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(pairs[i].first, -1);
        EXPECT_EQ(pairs[i].second, -1);
        EXPECT_EQ(marked[i].mark, 0);
        EXPECT_EQ(marked[i].value, -1);
        EXPECT_EQ(formula[i].mark, 0);
        EXPECT_EQ(formula[i].value, -1);
    }
    LongArray longs;
    longs.Add(7L);
    EXPECT_EQ(longs.Count(), 1);
    EXPECT_EQ(longs[0], 7L);
}

TEST(DArray, AssignmentSetsCapacityFromTheOthersCount)
{
    struct Case {
        int items;
        int capacity;
    } cases[] = {{0, 10}, {3, 13}, {10, 20}, {25, 35}};
    for (const Case& c : cases) {
        IntArray source;
        for (int i = 0; i < c.items; ++i)
            source.Add(i * 3);
        IntArray target = ints({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
        target = source;
        EXPECT_EQ(target.Count(), c.items);
        EXPECT_EQ(target.Capacity(), c.capacity);
        EXPECT_EQ(values(target), values(source));
        IntArray copied(source);
        EXPECT_EQ(copied.Capacity(), c.capacity);
        EXPECT_EQ(values(copied), values(source));
    }
    IntArray self = ints({1, 2, 3});
    IntArray& alias = self;
    self = alias;
    EXPECT_EQ(values(self), (std::vector<int>{1, 2, 3}));
}

TEST(DArray, Insert)
{
    IntArray a = ints({1, 2, 3});
    EXPECT_EQ(a.Insert(9, -1), -1);
    EXPECT_EQ(values(a), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(a.Insert(0, 0), 0);
    EXPECT_EQ(values(a), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(a.Insert(4, a.Count()), 4);
    EXPECT_EQ(values(a), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(a.Insert(7, 2), 2);
    EXPECT_EQ(values(a), (std::vector<int>{0, 1, 7, 2, 3, 4}));

    // Beyond the end: the gap is cleared, also over slots an earlier item left.
    a.Remove(4);
    a.Remove(3);
    EXPECT_EQ(a.Insert(5, 7), 7);
    EXPECT_EQ(values(a), (std::vector<int>{0, 1, 7, 2, 0, 0, 0, 5}));
    EXPECT_EQ(a.Capacity(), 10);
    EXPECT_EQ(a.Insert(6, 25), 25);
    EXPECT_EQ(a.Count(), 26);
    EXPECT_EQ(a.Capacity(), 36);

    tgDArray<std::string> texts;
    texts.Add("x");
    texts.Add("gone");
    texts.RemoveAt(1);
    texts.Insert("y", 3);
    ASSERT_EQ(texts.Count(), 4);
    EXPECT_EQ(texts[1], "");
    EXPECT_EQ(texts[2], "");
    EXPECT_EQ(texts[3], "y");
}

TEST(DArray, AddingAnItemOfTheArrayItselfWhileGrowing)
{
    tgDArray<std::string> a;
    for (int i = 0; i < 10; ++i)
        a.Add(std::string(40, static_cast<char>('a' + i)));
    a.Add(a[0]);  // the buffer is replaced during this call
    a.Insert(a[1], 0);
    EXPECT_EQ(a[11], std::string(40, 'a'));
    EXPECT_EQ(a[0], std::string(40, 'b'));
}

TEST(DArray, ImpossibleSizesThrow)
{
    IntArray a;
    EXPECT_THROW(a.Reserve(INT_MAX), qr_exception_t);
    EXPECT_THROW(a.Insert(1, INT_MAX), qr_exception_t);
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.Capacity(), 10);
}

TEST(DArray, CopiesOfArraysOfArraysShareNothing)
{
    tgDArray<IntArray> outer;
    outer.Add(ints({1, 2}));
    outer.Add(ints({3}));
    tgDArray<IntArray> copy(outer);
    tgDArray<IntArray> assigned;
    assigned = outer;
    copy[0].Add(99);
    assigned[1].Remove(3);
    outer[0][0] = -5;
    EXPECT_EQ(values(outer[0]), (std::vector<int>{-5, 2}));
    EXPECT_EQ(values(outer[1]), (std::vector<int>{3}));
    EXPECT_EQ(values(copy[0]), (std::vector<int>{1, 2, 99}));
    EXPECT_EQ(values(copy[1]), (std::vector<int>{3}));
    EXPECT_EQ(values(assigned[0]), (std::vector<int>{1, 2}));
    EXPECT_EQ(assigned[1].Count(), 0);

    tgDArray<tgDArray<std::string>> rows;
    rows.Add(tgDArray<std::string>());
    rows[0].Add("a");
    tgDArray<tgDArray<std::string>> rows_copy = rows;
    rows[0][0] = "changed";
    EXPECT_EQ(rows_copy[0][0], "a");
}

TEST(IntArray, Searches)
{
    IntArray a = ints({4, 7, 4, 2});
    EXPECT_TRUE(a.Contains(7));
    EXPECT_FALSE(a.Contains(5));
    a.Remove(4);  // the first one only
    EXPECT_EQ(values(a), (std::vector<int>{7, 4, 2}));
    a.Remove(5);
    EXPECT_EQ(values(a), (std::vector<int>{7, 4, 2}));

    IntArray b = ints({1});
    b.AddAll(a);
    EXPECT_EQ(values(b), (std::vector<int>{7, 4, 2}));
    b.AddAll(b);
    EXPECT_EQ(values(b), (std::vector<int>{7, 4, 2}));
    b.AddAll(IntArray());
    EXPECT_EQ(b.Count(), 0);
}

TEST(IntArray, InsertSorted)
{
    struct Case {
        std::vector<int> before;
        int value;
        std::vector<int> after;
    } cases[] = {
        {{}, 5, {5}},
        {{1, 3, 5}, 0, {0, 1, 3, 5}},
        {{1, 3, 5}, 9, {1, 3, 5, 9}},
        {{1, 3, 3, 5}, 3, {1, 3, 3, 3, 5}},
        {{1, 3, 5}, 4, {1, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        IntArray a;
        for (int v : c.before)
            a.Add(v);
        a.InsertSorted(c.value);
        EXPECT_EQ(values(a), c.after) << c.value;
    }
}

TEST(MarkedIntArray, MarksAndUniqueness)
{
    MarkedIntArray a;
    a.AddUnique(5);
    a.AddUnique(8);
    a.AddUnique(5);
    ASSERT_EQ(a.Count(), 2);
    EXPECT_EQ(a[0].value, 5);
    EXPECT_EQ(a[0].mark, 0);

    EXPECT_FALSE(a.IsMarked(8));
    a.Mark(8);
    EXPECT_TRUE(a.IsMarked(8));
    a.AddUnique(8);  // present: the mark stays
    EXPECT_TRUE(a.IsMarked(8));
    a.Unmark(8);
    EXPECT_FALSE(a.IsMarked(8));

    a.Mark(42);  // absent: nothing happens
    EXPECT_EQ(a.Count(), 2);
    EXPECT_FALSE(a.IsMarked(42));
    EXPECT_FALSE(a.Contains(42));

    a.Mark(5);
    a.Remove(5);
    EXPECT_FALSE(a.Contains(5));
    ASSERT_EQ(a.Count(), 1);
    EXPECT_EQ(a[0].value, 8);
    EXPECT_FALSE(a.IsMarked(5));
}
