// Every GoogleTest program runs with a home of its own, made at build time,
// so that no test reads or writes the user's settings, state (run journals)
// or caches, also when the program is started by hand. ctest's ENVIRONMENT
// property cannot carry the whole list through test discovery.
#include <cstdlib>
#include <string>
#include <utility>

namespace {

struct TestHome {
    TestHome() {
        const std::string home = TSLE_TEST_HOME;
        const std::pair<const char*, std::string> variables[] = {
            {"HOME", home},
            {"XDG_CONFIG_HOME", home + "/.config"},
            {"XDG_DATA_HOME", home + "/.local/share"},
            {"XDG_STATE_HOME", home + "/.local/state"},
            {"XDG_CACHE_HOME", home + "/.cache"},
            {"XDG_RUNTIME_DIR", home + "/.runtime"},
        };
        for (const auto& [name, value] : variables)
            ::setenv(name, value.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        ::setenv("TSLE_SOURCE_DIR", TSLE_TEST_SOURCE_DIR, 0);
    }
} g_testHome;

} // namespace
