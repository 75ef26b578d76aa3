// A saver toplevel as other clients may name it (xdg-foreign), so that a box, which GTK shows on
// a connection of its own, can be made its child.
#pragma once
#include <wayland-client.h>

#include <string>

// Exports the toplevel's surface until EndToplevelExport; its handle, or an empty text where the
// compositor exports none.
std::string ExportToplevel(wl_display* display, wl_surface* surface);
void EndToplevelExport();
