// The program's window icon comes from the embedded icon-theme PNGs, in every size drawn.
#include "platform/qt/AppIcon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(AppIcon, WindowsGetTheProgramIconInEverySizeDrawn) {
    EXPECT_THAT(ui::qt::AppIconSizes(), IsEmpty());
    ui::qt::InstallAppIcon();
    EXPECT_THAT(ui::qt::AppIconSizes(), ElementsAre(16, 24, 32, 48, 64, 128, 256));
}
