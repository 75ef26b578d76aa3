// The debug report: a Saver run's step-by-step log, spliced into the install folder's
// report page between its begin and end markers.
//
// Only a Saver run with the `debug` setting on opens the report; everywhere else LogLine (in
// base/report_log.h, which the saver run calls) does nothing.
#pragma once
#include "base/report_log.h"
#include "settings/settings_dump.h"

bool OpenDebugReport();
bool CloseDebugReport();
void OfferDebugReport();
