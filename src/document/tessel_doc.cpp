#include "document/tessel_doc.h"
