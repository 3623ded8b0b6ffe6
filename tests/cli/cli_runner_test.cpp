// The runner the CLI tests stand on: a run that hangs or crashes fails the
// test that made it, instead of reading as exit status 0.
#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "cli_runner.h"

namespace {

TEST(CliRunner, AHungOrCrashedRunFailsTheTest) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* script;
        const char* failure;
    } cases[] = {
        {"sleep 10", "still running after 300 ms; killed"},
        {"kill -SEGV $$", "crashed"},
    };
    for (const auto& c : cases) {
        testing::TestPartResultArray failures;
        CliResult run{};
        {
            testing::ScopedFakeTestPartResultReporter reporter(
                testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD,
                &failures);
            run = RunShell(c.script, dir.path(), 300);
        }
        EXPECT_EQ(run.exitCode, -1) << c.script;
        ASSERT_EQ(failures.size(), 1) << c.script;
        EXPECT_THAT(failures.GetTestPartResult(0).message(), testing::HasSubstr(c.failure));
    }
    // A program's own failure is its exit status, and no failure of the test.
    EXPECT_EQ(RunShell("exit 3", dir.path()).exitCode, 3);
    EXPECT_EQ(RunCli({"no-such-command"}).exitCode, 2);
}

} // namespace
