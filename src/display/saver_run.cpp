#include "display/saver_run.h"

void RunSaver(WindowId) {}
