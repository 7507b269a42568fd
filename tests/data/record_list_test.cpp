#include "data/record_list.h"

#include <gtest/gtest.h>

namespace {

struct Counted {
    explicit Counted(int v, int* destroyed) : value(v), destroyed(destroyed) {}
    ~Counted() { ++*destroyed; }
    int value;
    int* destroyed;
};

TEST(RecordList, AppendKeepsOrderAndLinks) {
    int destroyed = 0;
    auto* list = createList<Counted>();
    EXPECT_EQ(count(list), 0);
    EXPECT_EQ(at(list, 0), nullptr);
    auto* a = append(list, std::make_unique<Counted>(1, &destroyed));
    append(list, std::make_unique<Counted>(2, &destroyed));
    auto* c = append(list, std::make_unique<Counted>(3, &destroyed));
    EXPECT_EQ(count(list), 3);
    EXPECT_EQ(at(list, 0)->value, 1);
    EXPECT_EQ(at(list, 2)->value, 3);
    EXPECT_EQ(at(list, -5)->value, 1);
    EXPECT_EQ(at(list, 3), nullptr) << "a position past the tail reads nothing";
    EXPECT_EQ(a->prev, list);
    EXPECT_EQ(c->prev->payload->value, 2);
    EXPECT_EQ(list->payload, nullptr);
    destroyList(list);
    EXPECT_EQ(destroyed, 3) << "the list owns its records and runs their destructors";
}

TEST(RecordList, NullAndEmptyListsAreHarmless) {
    EXPECT_EQ(count<int>(nullptr), 0);
    EXPECT_EQ(at<int>(nullptr, 0), nullptr);
    destroyList<int>(nullptr);
    destroyList(createList<int>());
}

}  // namespace
