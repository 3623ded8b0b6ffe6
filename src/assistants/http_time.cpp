#include "assistants/http_time.h"
