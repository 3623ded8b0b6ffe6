#include "shell/navigation_gate.h"

#include <gtest/gtest.h>

TEST(NavigationGate, OnlyThePagesOwnLoadMovesTheMainFrame) {
    CNavigationGate gate;
    EXPECT_TRUE(gate.Accept(false)); // a frame of the page before: does not use up the load
    EXPECT_TRUE(gate.Accept(true));  // the page itself
    EXPECT_TRUE(gate.Accept(false)); // its frames fill in
    EXPECT_FALSE(gate.Accept(true)); // a link, a form, a refresh
    EXPECT_FALSE(gate.Accept(true));
    gate.Arm(); // the next page
    EXPECT_TRUE(gate.Accept(true));
    EXPECT_FALSE(gate.Accept(true));
}
