#include "cli/cli_util.h"
int RunRebuild(const QStringList&) { return EXIT_OK; }
