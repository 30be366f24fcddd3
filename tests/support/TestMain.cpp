// One Qt application for the whole test process, on the offscreen platform.
#include "platform/TestSeams.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ui::testing::StartTestProcess(argc, argv);
    return RUN_ALL_TESTS();
}
