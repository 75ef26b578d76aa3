#include "show/show_state.h"

ShowState showState;
