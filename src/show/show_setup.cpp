#include "show/show_setup.h"

std::string bangPath;

void SetupShow(int) {}

void ShutdownShow() {}
