/* Preloaded into a program by the end-to-end scripts, as Wine's message-box trace is on
 * Windows: before GTK runs a message dialog, its title, text, kind, buttons, X window and
 * owner window (both 0 on Wayland) go as one JSON line to the file BOX_TRACE_FILE names; then
 * the real dialog is shown and waits for a key like any other. It stays in the environment, so
 * that it also reaches a program started through a wrapper (setpriv, a shell). */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <stdio.h>
#include <stdlib.h>

static const char* kind_name(GtkMessageType type) {
    switch (type) {
        case GTK_MESSAGE_ERROR:
            return "error";
        case GTK_MESSAGE_WARNING:
            return "warning";
        case GTK_MESSAGE_QUESTION:
            return "question";
        default:
            return "information";
    }
}

static void write_json_string(FILE* out, const char* text) {
    fputc('"', out);
    for (const unsigned char* c = (const unsigned char*)text; *c != 0; ++c) {
        if (*c == '"' || *c == '\\') {
            fprintf(out, "\\%c", *c);
        } else if (*c < 0x20) {
            fprintf(out, "\\u%04x", *c);
        } else {
            fputc(*c, out);
        }
    }
    fputc('"', out);
}

static void trace(const char* path, GtkDialog* dialog) {
    FILE* out = fopen(path, "a");
    if (out == NULL) return;
    gchar* text = NULL;
    GtkMessageType type = GTK_MESSAGE_INFO;
    g_object_get(dialog, "text", &text, "message-type", &type, NULL);
    GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(dialog));
    /* A box on a Wayland desktop has no X window: its window and owner are 0. */
    Window id = window != NULL && GDK_IS_X11_WINDOW(window) ? GDK_WINDOW_XID(window) : 0;
    Window owner = 0;
    if (id != 0) XGetTransientForHint(GDK_WINDOW_XDISPLAY(window), id, &owner);
    fputs("{\"title\":", out);
    write_json_string(out, gtk_window_get_title(GTK_WINDOW(dialog)));
    fputs(",\"text\":", out);
    write_json_string(out, text != NULL ? text : "");
    fprintf(out, ",\"icon\":\"%s\",\"buttons\":\"%s\",\"window\":%lu,\"owner\":%lu}\n",
            kind_name(type),
            gtk_dialog_get_widget_for_response(dialog, GTK_RESPONSE_YES) ? "yesno" : "ok", id,
            owner);
    fclose(out);
    g_free(text);
}

gint gtk_dialog_run(GtkDialog* dialog) {
    static gint (*real_run)(GtkDialog*);
    if (real_run == NULL) real_run = (gint(*)(GtkDialog*))dlsym(RTLD_NEXT, "gtk_dialog_run");
    const char* path = getenv("BOX_TRACE_FILE");
    if (path != NULL && GTK_IS_MESSAGE_DIALOG(dialog)) trace(path, dialog);
    return real_run(dialog);
}
