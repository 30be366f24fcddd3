#include "platform/Classes.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(Components, UniqueNameSkipsTakenNumbersIgnoringCase) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("stem1");
    auto* b = new TComponent(&owner);
    b->SetName("STEM2");
    EXPECT_EQ(owner.UniqueName("Stem"), "Stem3");
    delete a;
    EXPECT_EQ(owner.UniqueName("Stem"), "Stem1");
}
