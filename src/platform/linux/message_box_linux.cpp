// Message boxes on Linux: PrepareForMessageBox and ShowSystemMessageBox, a GTK 3 dialog, or
// standard error when no display opens. The spy and the recorder are shared by every system.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <cstdio>

#include "platform/linux/saver_window_records.h"
#include "platform/message_box.h"

namespace {

GtkMessageType GtkTypeFor(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Error:
            return GTK_MESSAGE_ERROR;
        case BoxIcon::Warning:
            return GTK_MESSAGE_WARNING;
        case BoxIcon::Question:
            return GTK_MESSAGE_QUESTION;
        case BoxIcon::Information:
            return GTK_MESSAGE_INFO;
    }
    return GTK_MESSAGE_INFO;
}

// Makes the dialog transient for a window of another client, as an owned box is on Windows.
// A number that names no window is ignored, like an invalid owner handle.
void SetForeignOwner(GtkWidget* dialog, WindowId owner) {
    if (owner == 0) return;
    GdkDisplay* display = gtk_widget_get_display(dialog);
    if (!GDK_IS_X11_DISPLAY(display)) return;
    gdk_x11_display_error_trap_push(display);
    GdkWindow* foreign = gdk_x11_window_foreign_new_for_display(display, owner);
    if (foreign != nullptr) {
        gtk_widget_realize(dialog);
        gdk_window_set_transient_for(gtk_widget_get_window(dialog), foreign);
        g_object_unref(foreign);
    }
    gdk_x11_display_error_trap_pop_ignored(display);
}

BoxAnswer ShowGtkDialog(const MessageBoxRequest& request) {
    GtkWidget* dialog = gtk_message_dialog_new(
        nullptr, GTK_DIALOG_MODAL, GtkTypeFor(request.icon),
        request.buttons == BoxButtons::YesNo ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s",
        request.text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), request.title.c_str());
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    SetForeignOwner(dialog, request.owner);
    gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    while (gtk_events_pending()) gtk_main_iteration();
    if (request.buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    return response == GTK_RESPONSE_YES ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace

void PrepareForMessageBox() {
    DeactivateTopLevelWindows();
}

BoxAnswer ShowSystemMessageBox(const MessageBoxRequest& request) {
    static const bool haveDisplay = gtk_init_check(nullptr, nullptr);
    if (!haveDisplay) {
        std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
        return AnswerWithoutPerson(request.buttons);
    }
    return ShowGtkDialog(request);
}
