#include "cli/cli_util.h"
int RunShow(const QStringList&) { return EXIT_OK; }
