#include "NullServices.h"
