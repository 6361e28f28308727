// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/Forms.h"
#include "app/Unit9.h"
#include "tests/support/AppFixture.h"

namespace {

class Forum : public testutil::AppFixture {
protected:
    void SetUp() override {
        start();
        logIn();
    }
};

TEST_F(Forum, LoadsThePageOnEachShowingOnly) {
    EXPECT_TRUE(navigations.empty());
    main().Mivexforum1->trigger();
    ASSERT_EQ(navigations.size(), 1u);
    EXPECT_EQ(navigations[0].path(), QStringLiteral("/mivex/forum.php"));
    EXPECT_TRUE(forms().Form9->isVisible());

    // Shown again while visible: to the front, no reload.
    main().ToolButton24->trigger();
    main().Mivexforum1->trigger();
    EXPECT_EQ(navigations.size(), 1u);

    forms().Form9->close();
    EXPECT_FALSE(forms().Form9->isVisible());
    main().ToolButton24->trigger();
    EXPECT_EQ(navigations.size(), 2u);
    EXPECT_EQ(navigations[1], navigations[0]);
}

}  // namespace
