#include "shell/navigation_gate.h"

#include <gtest/gtest.h>

TEST(NavigationGate, OnlyThePagesOwnLoadMovesTheMainFrame) {
    CNavigationGate gate;
    // The page before still moving: its frames may, its main frame may not,
    // and neither uses up the load of the page that comes next.
    EXPECT_TRUE(gate.Accept(false, false));
    EXPECT_FALSE(gate.Accept(true, false));
    EXPECT_TRUE(gate.Accept(true, true));   // the page itself
    EXPECT_TRUE(gate.Accept(false, false)); // its frames fill in
    EXPECT_FALSE(gate.Accept(true, false)); // a link, a form, a refresh
    EXPECT_FALSE(gate.Accept(true, true));  // a second load without a new page
    gate.Arm();                             // the next page
    EXPECT_TRUE(gate.Accept(true, true));
    EXPECT_FALSE(gate.Accept(true, false));
}
