#include "WlanCallback.h"

void WlanCallback() { }
