// GTK windows owned by a window of another client, as owned windows are on Windows.
#pragma once
#include <gtk/gtk.h>

#include "platform/window_id.h"

// Makes window transient for owner; 0, or a number that names no window, is ignored like an
// invalid owner handle.
void SetForeignOwner(GtkWidget* window, WindowId owner);
