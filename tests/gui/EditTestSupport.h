#pragma once
// Merged into WindowTestSupport.h; this name stays for the tests that include it so.
#include "WindowTestSupport.h"
