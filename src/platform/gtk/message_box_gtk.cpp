// Message boxes through GTK: ShowSystemMessageBox, a GTK 3 dialog, or standard error when no
// display opens. What a box does to the saver's windows, and where it goes, is the window
// system's (PrepareForMessageBox, FinishMessageBox); the hook point is shared by every
// system. Without a display the text goes to standard error and the box answers No (or OK),
// since no person can have said Yes.
// Left out: the box's system sounds, and help buttons and styles the program never asks for.
#include <gdk/gdkwayland.h>
#include <gtk-layer-shell.h>
#include <gtk/gtk.h>

#include <cstdio>
#include <functional>
#include <string>

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

// Black to the output's edges (no rounded corners, border or shadow), around the box's own face,
// which keeps the theme's colour.
constexpr const char* kCoverStyle =
    "* { background: black; border: none; border-radius: 0; box-shadow: none; margin: 0; }";
constexpr const char* kFaceStyle = "* { background-color: @theme_bg_color; }";

// A style for the widget's own nodes alone, not the widgets inside it.
void StyleWidget(GtkWidget* widget, const char* css) {
    GtkCssProvider* style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style, css, -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(style),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(style);
}

void StyleAsCover(GtkWidget* dialog) {
    GtkWidget* face = gtk_bin_get_child(GTK_BIN(dialog));
    StyleWidget(dialog, kCoverStyle);
    StyleWidget(face, kFaceStyle);
    gtk_widget_set_halign(face, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(face, GTK_ALIGN_CENTER);
}

// On the overlay layer, anchored to every edge and heeding no panel's zone, the box covers its
// output above every window, however fullscreen, and the exclusive keyboard keeps every key
// from them. Asked before the window is realized, as gtk-layer-shell needs.
bool PutCoverOnOverlay(GtkWidget* dialog) {
    if (!gtk_layer_is_supported()) return false;
    GtkWindow* window = GTK_WINDOW(dialog);
    gtk_layer_init_for_window(window);
    gtk_layer_set_layer(window, GTK_LAYER_SHELL_LAYER_OVERLAY);
    gtk_layer_set_keyboard_mode(window, GTK_LAYER_SHELL_KEYBOARD_MODE_EXCLUSIVE);
    gtk_layer_set_exclusive_zone(window, -1);
    for (GtkLayerShellEdge edge : {GTK_LAYER_SHELL_EDGE_LEFT, GTK_LAYER_SHELL_EDGE_RIGHT,
                                   GTK_LAYER_SHELL_EDGE_TOP, GTK_LAYER_SHELL_EDGE_BOTTOM}) {
        gtk_layer_set_anchor(window, edge, TRUE);
    }
    StyleAsCover(dialog);
    return true;
}

// The compositor stacks a child above its parent, fullscreen or not, and focuses it. Asked once
// the window has its surface and before it is shown, when GTK gives it its toplevel role and
// the parent with it.
bool MakeChildOfExported(GtkWidget* dialog, std::string parent) {
    gtk_widget_realize(dialog);
    GdkWindow* window = gtk_widget_get_window(dialog);
    return GDK_IS_WAYLAND_WINDOW(window) &&
           gdk_wayland_window_set_transient_for_exported(window, parent.data());
}

void PlaceDialog(GtkWidget* dialog, const MessageBoxRequest& request,
                 const BoxPlacement& placement) {
    if (placement.stand == BoxStand::CoverOnOverlay && PutCoverOnOverlay(dialog)) return;
    if (placement.stand == BoxStand::ChildOfExported &&
        MakeChildOfExported(dialog, placement.exportedParent)) {
        return;
    }
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    SetForeignOwner(dialog, request.owner);
}

// Calls the placement's `shown` once the box's first frame has reached the compositor.
struct ShownWatch {
    const std::function<void()>& shown;
    gulong drawHandler = 0;
    guint idle = 0;
};

gboolean CallShown(gpointer data) {
    auto* watch = static_cast<ShownWatch*>(data);
    watch->idle = 0;
    gdk_display_sync(gdk_display_get_default());
    watch->shown();
    return G_SOURCE_REMOVE;
}

// The frame is committed when the paint that draws it ends: the call waits for an idle turn.
gboolean OnFirstDraw(GtkWidget* widget, cairo_t*, gpointer data) {
    auto* watch = static_cast<ShownWatch*>(data);
    g_signal_handler_disconnect(widget, watch->drawHandler);
    watch->idle = g_idle_add(CallShown, watch);
    return FALSE;
}

BoxAnswer ShowGtkDialog(const MessageBoxRequest& request, const BoxPlacement& placement) {
    GtkWidget* dialog = gtk_message_dialog_new(
        nullptr, GTK_DIALOG_MODAL, GtkTypeFor(request.icon),
        request.buttons == BoxButtons::YesNo ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s",
        request.text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), request.title.c_str());
    PlaceDialog(dialog, request, placement);
    ShownWatch watch{placement.shown};
    if (placement.shown) {
        watch.drawHandler = g_signal_connect_after(dialog, "draw", G_CALLBACK(OnFirstDraw), &watch);
    }
    // Shown, then presented: without a window manager nobody else gives it the keyboard, and
    // presenting a window that is not yet shown only shows it.
    gtk_widget_show(dialog);
    gtk_window_present(GTK_WINDOW(dialog));
    gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    if (watch.idle != 0) g_source_remove(watch.idle);
    if (placement.answered) placement.answered();
    gtk_widget_destroy(dialog);
    while (gtk_events_pending()) gtk_main_iteration();
    // Gone from the screen before the caller's windows take the focus back.
    gdk_display_sync(gdk_display_get_default());
    if (request.buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    return response == GTK_RESPONSE_YES ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace

BoxAnswer ShowSystemMessageBox(const MessageBoxRequest& request, const BoxPlacement& placement) {
    static const bool haveDisplay = gtk_init_check(nullptr, nullptr);
    if (!haveDisplay) {
        std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
        return AnswerWithoutPerson(request.buttons);
    }
    return ShowGtkDialog(request, placement);
}
