// The program's window icon comes from the embedded icon-theme PNGs, in every size drawn; the
// native session gives it to every window from the start.
#include "platform/qt/AppIcon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

TEST(AppIcon, WindowsGetTheProgramIconInEverySizeDrawn) {
    // The test process started a native session, as the program does at start.
    EXPECT_THAT(ui::qt::AppIconSizes(), ElementsAre(16, 24, 32, 48, 64, 128, 256));
    // Installing again changes nothing.
    ui::qt::InstallAppIcon();
    EXPECT_THAT(ui::qt::AppIconSizes(), ElementsAre(16, 24, 32, 48, 64, 128, 256));
}
