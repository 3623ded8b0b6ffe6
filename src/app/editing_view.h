// The editing view that the main window hosts.
#pragma once

#ifdef TSLE_PLACEHOLDER_VIEW
#include "app/placeholder_view.h"
#else
#include "fields/ui/tessel_view.h"
#endif
