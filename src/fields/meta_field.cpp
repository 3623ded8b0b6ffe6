#include "fields/meta_field.h"
