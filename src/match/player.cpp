// The two player records.
#include "match.h"

player players[2];
