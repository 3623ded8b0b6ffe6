#include "cli/cli_util.h"
int RunBodyText(const QStringList&) { return EXIT_OK; }
