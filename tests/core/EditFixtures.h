#pragma once
// Moved to tests/support; this name stays for the tests that include it so.
#include "../support/EditFixtures.h"
