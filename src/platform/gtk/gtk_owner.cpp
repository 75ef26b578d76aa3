#include "platform/gtk/gtk_owner.h"

#include <gdk/gdkx.h>

void SetForeignOwner(GtkWidget* window, WindowId owner) {
    if (owner == 0) return;
    GdkDisplay* display = gtk_widget_get_display(window);
    if (!GDK_IS_X11_DISPLAY(display)) return;
    gdk_x11_display_error_trap_push(display);
    GdkWindow* foreign = gdk_x11_window_foreign_new_for_display(display, owner);
    if (foreign != nullptr) {
        gtk_widget_realize(window);
        gdk_window_set_transient_for(gtk_widget_get_window(window), foreign);
        g_object_unref(foreign);
    }
    gdk_x11_display_error_trap_pop_ignored(display);
}
