#include "program_state.h"

int leave_mode = 0;
