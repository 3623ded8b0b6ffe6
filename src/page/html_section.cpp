#include "page/html_page.h"
