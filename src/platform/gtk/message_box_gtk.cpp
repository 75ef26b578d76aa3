// Message boxes through GTK: ShowSystemMessageBox, a GTK 3 dialog, or standard error when no
// display opens. What a box does to the saver's windows is the window system's
// (PrepareForMessageBox, FinishMessageBox); the hook point is shared by every
// system. Without a display the text goes to standard error and the box answers No (or OK),
// since no person can have said Yes.
// Left out: the box's system sounds, and help buttons and styles the program never asks for.
#include <gtk/gtk.h>

#include <cstdio>

#include "platform/gtk/gtk_owner.h"
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

BoxAnswer ShowGtkDialog(const MessageBoxRequest& request) {
    GtkWidget* dialog = gtk_message_dialog_new(
        nullptr, GTK_DIALOG_MODAL, GtkTypeFor(request.icon),
        request.buttons == BoxButtons::YesNo ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s",
        request.text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), request.title.c_str());
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    SetForeignOwner(dialog, request.owner);
    // Shown, then presented: without a window manager nobody else gives it the keyboard, and
    // presenting a window that is not yet shown only shows it.
    gtk_widget_show(dialog);
    gtk_window_present(GTK_WINDOW(dialog));
    gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    while (gtk_events_pending()) gtk_main_iteration();
    // Gone from the screen before the caller's windows take the focus back.
    gdk_display_sync(gdk_display_get_default());
    if (request.buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    return response == GTK_RESPONSE_YES ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace

BoxAnswer ShowSystemMessageBox(const MessageBoxRequest& request) {
    static const bool haveDisplay = gtk_init_check(nullptr, nullptr);
    if (!haveDisplay) {
        std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
        return AnswerWithoutPerson(request.buttons);
    }
    return ShowGtkDialog(request);
}
