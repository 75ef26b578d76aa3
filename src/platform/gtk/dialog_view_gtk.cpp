// The modal dialog of platform/dialog_view.h on GTK 3.
//
// Implemented: every control kind of the template, placed at its rectangle in dialog units
// scaled as Windows scales them, by the dialog font's average character width and height, and
// scaled further where the theme's widgets need more room, so that no control is ever
// clipped; Tab and Shift+Tab in template order, entering a radio group at its selected
// button; arrows within a radio group; Return, Escape and the close request as the seam says,
// and the window destroyed by another client (xkill, a window manager) as CANCEL;
// the open-file chooser with case-insensitive filters; pictures from the program's compiled-in
// resources, scaled to their rectangles.
// Left out: the template's position (the dialog is centred) and font face (the theme's, at the
// template's size, measures the dialog units); the resource number, which only Windows opens the
// dialog by; disabling the owner window, which belongs to another client.
#include <gdk/gdkkeysyms.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/dialog_view.h"
#include "platform/gtk/gtk_owner.h"

// Made by glib-compile-resources from resources/vostrel.gresource.xml.
extern "C" void vostrel_register_resource(void);

namespace {

constexpr const char* kResourcePrefix = "/org/vostrel/";
constexpr const char* kWindowIconFile = "vostrel-48.png";

// The picture resources by the numbers templates name them with, and their compiled-in files.
struct PictureResource {
    const char* number;
    const char* file;
};
constexpr PictureResource kPictureResources[] = {{kDialogPictureResource, "dialog-picture.png"}};
// Windows' dialog units: four across and eight down per average character cell.
constexpr double kUnitsPerCharWidth = 4.0;
constexpr double kUnitsPerCharHeight = 8.0;
constexpr const char* kAverageCharSample = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kAverageCharSampleLength = 52;

// The dialog's own look, for the window that carries kDialogStyleClass: the template's point
// size in the theme's face, and controls with the slim margins of Windows' own, so that the
// controls fit their rectangles at the scale of that font and the dialog fits a 800 x 600
// screen. The theme's roomy padding would otherwise stretch every unit past it.
constexpr const char* kDialogStyleClass = "vostrel-dialog";
constexpr const char* kDialogStyle =
    ".vostrel-dialog, .vostrel-dialog * { font-size: %dpt; }"
    ".vostrel-dialog button { padding: 1px 4px; min-height: 0; min-width: 0; }"
    ".vostrel-dialog checkbutton, .vostrel-dialog radiobutton { padding: 0; min-height: 0; }"
    ".vostrel-dialog check, .vostrel-dialog radio { margin: 0 4px 0 0; min-width: 12px;"
    " min-height: 12px; }"
    ".vostrel-dialog entry { padding: 1px 3px; min-height: 0; }";

void ApplyDialogStyle(GtkWidget* window, int points) {
    static GtkCssProvider* provider = nullptr;
    if (provider == nullptr) {
        char css[1024];
        std::snprintf(css, sizeof css, kDialogStyle, points);
        provider = gtk_css_provider_new();
        gtk_css_provider_load_from_data(provider, css, -1, nullptr);
        gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                                  GTK_STYLE_PROVIDER(provider),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }
    gtk_style_context_add_class(gtk_widget_get_style_context(window), kDialogStyleClass);
}

void RegisterResources() {
    static const bool registered = (vostrel_register_resource(), true);
    (void)registered;
}

GdkPixbuf* LoadResourceFile(const char* file) {
    RegisterResources();
    return gdk_pixbuf_new_from_resource((std::string(kResourcePrefix) + file).c_str(), nullptr);
}

// Null for a number the program carries no picture for.
GdkPixbuf* LoadPictureResource(std::string_view number) {
    for (const PictureResource& resource : kPictureResources) {
        if (number == resource.number) return LoadResourceFile(resource.file);
    }
    return nullptr;
}

int OneLineWidth(GtkWidget* label) {
    PangoLayout* layout =
        gtk_widget_create_pango_layout(label, gtk_label_get_text(GTK_LABEL(label)));
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return width;
}

// A wrapping label asks its container for the height it needs at its narrowest; pinning its
// width in characters to the template's width keeps that height to the lines it really has.
// GTK counts a label's characters at the wider of the font's average letter and digit, so the
// count is taken at that width too, or the text would wrap wider than its rectangle.
void FixLabelWidth(GtkWidget* label, int width) {
    PangoContext* context = gtk_widget_get_pango_context(label);
    PangoFontMetrics* metrics = pango_context_get_metrics(context, nullptr, nullptr);
    const int charWidth =
        std::max({1, PANGO_PIXELS(pango_font_metrics_get_approximate_char_width(metrics)),
                  PANGO_PIXELS(pango_font_metrics_get_approximate_digit_width(metrics))});
    pango_font_metrics_unref(metrics);
    const int chars = std::max(1, width / charWidth);
    gtk_label_set_width_chars(GTK_LABEL(label), chars);
    gtk_label_set_max_width_chars(GTK_LABEL(label), chars);
}

bool TakesFocus(ControlKind kind) {
    return kind == ControlKind::RadioButton || kind == ControlKind::CheckBox ||
           kind == ControlKind::EditBox || kind == ControlKind::PushButton ||
           kind == ControlKind::FlatButton;
}

// "*.mp3" matches "SONG.MP3" too, as file names do on Windows.
std::string CaseInsensitivePattern(const std::string& pattern) {
    std::string out;
    for (char c : pattern) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalpha(u)) {
            out += '[';
            out += static_cast<char>(std::tolower(u));
            out += static_cast<char>(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

struct Scale {
    double x = 1.0;
    double y = 1.0;
    int X(int units) const { return static_cast<int>(std::ceil(units * x)); }
    int Y(int units) const { return static_cast<int>(std::ceil(units * y)); }
};

class GtkDialogView final : public DialogView {
  public:
    GtkDialogView(const DialogTemplate& dialog, DialogProcedure& procedure)
        : template_(dialog), procedure_(procedure) {}

    bool Run(WindowId owner);

    void SetCheck(int id, bool checked) override;
    void SetText(int id, const std::string& text) override;
    std::string Text(int id, std::size_t maxLength) override;
    void Focus(int id) override;
    void PostCommand(int id) override;
    void End() override;
    std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override;

  private:
    struct Control {
        const DialogControl* control = nullptr;
        GtkWidget* widget = nullptr;
        GtkWidget* groupHolder = nullptr;  // a radio group's unseen member, selected for "none"
    };
    struct PostedCommand {
        GtkDialogView* view;
        int id;
        guint source = 0;
    };

    void BuildWindow(WindowId owner);
    GtkWidget* MakeWidget(const DialogControl& control, GtkWidget** groupHolder);
    void Connect(Control& control);
    Scale FitScale() const;
    void Place(const Scale& scale);
    Control* Find(int id);
    bool IsTabStop(const Control& control) const;
    void MoveFocus(bool forward);
    bool OnKey(const GdkEventKey& key);
    void Dispatch(int id);

    static void OnToggled(GtkToggleButton* button, gpointer data);
    static void OnClicked(GtkButton* button, gpointer data);
    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* key, gpointer data);
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data);
    static void OnDestroyed(GtkWidget*, gpointer data);
    static gboolean OnPosted(gpointer data);

    const DialogTemplate& template_;
    DialogProcedure& procedure_;
    GtkWidget* window_ = nullptr;
    GtkWidget* fixed_ = nullptr;
    std::vector<Control> controls_;
    std::vector<GtkWidget*> groupHolders_;
    std::vector<guint> posted_;  // posted commands not yet run
    GMainLoop* loop_ = nullptr;
    bool updating_ = false;  // SetCheck is changing a button: not the user's click
};

GtkWidget* GtkDialogView::MakeWidget(const DialogControl& control, GtkWidget** groupHolder) {
    switch (control.kind) {
        case ControlKind::Picture:
            return gtk_image_new();
        case ControlKind::GroupBox:
            return gtk_frame_new(control.caption);
        case ControlKind::RadioButton:
            if (control.startsGroup || *groupHolder == nullptr) {
                *groupHolder = gtk_radio_button_new(nullptr);
                g_object_ref_sink(*groupHolder);
                groupHolders_.push_back(*groupHolder);
            }
            return gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(*groupHolder),
                                                               control.caption);
        case ControlKind::CheckBox:
            return gtk_check_button_new_with_label(control.caption);
        case ControlKind::StaticText: {
            GtkWidget* label = gtk_label_new(control.caption);
            gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
            gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
            gtk_label_set_max_width_chars(GTK_LABEL(label), 1);  // the template gives the width
            gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
            gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
            return label;
        }
        case ControlKind::EditBox: {
            GtkWidget* entry = gtk_entry_new();
            gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);  // the template gives the width
            gtk_entry_set_activates_default(GTK_ENTRY(entry), FALSE);
            return entry;
        }
        case ControlKind::PushButton:
            return gtk_button_new_with_label(control.caption);
        case ControlKind::FlatButton: {
            GtkWidget* button = gtk_button_new_with_label(control.caption);
            gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
            return button;
        }
    }
    return gtk_label_new("");
}

void GtkDialogView::Connect(Control& control) {
    switch (control.control->kind) {
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
            g_signal_connect(control.widget, "toggled", G_CALLBACK(OnToggled), this);
            break;
        case ControlKind::PushButton:
        case ControlKind::FlatButton:
            g_signal_connect(control.widget, "clicked", G_CALLBACK(OnClicked), this);
            break;
        default:
            break;
    }
}

void GtkDialogView::BuildWindow(WindowId owner) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window_), template_.title);
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    gtk_window_set_modal(GTK_WINDOW(window_), TRUE);
    gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_position(GTK_WINDOW(window_), GTK_WIN_POS_CENTER);
    if (GdkPixbuf* icon = LoadResourceFile(kWindowIconFile)) {
        gtk_window_set_icon(GTK_WINDOW(window_), icon);
        g_object_unref(icon);
    }
    ApplyDialogStyle(window_, template_.font.points);
    fixed_ = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(window_), fixed_);

    GtkWidget* groupHolder = nullptr;
    for (const DialogControl& control : template_.controls) {
        Control made{&control, MakeWidget(control, &groupHolder),
                     control.kind == ControlKind::RadioButton ? groupHolder : nullptr};
        gtk_fixed_put(GTK_FIXED(fixed_), made.widget, 0, 0);
        gtk_widget_show(made.widget);  // a hidden widget asks for no room at all
        controls_.push_back(made);
    }
    for (Control& control : controls_) Connect(control);
    Place(FitScale());

    g_signal_connect(window_, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(window_, "destroy", G_CALLBACK(OnDestroyed), this);
    SetForeignOwner(window_, owner);
}

// How many lines of the dialog font a static text's rectangle holds: its text may wrap onto
// that many and no more.
int LinesOfText(const DialogControl& control) {
    return std::max(1, static_cast<int>(control.height / kUnitsPerCharHeight));
}

// The scale from dialog units to pixels: the dialog font's, raised where a control's natural
// size would not fit its rectangle. Wrapped texts need their width and then their height.
Scale GtkDialogView::FitScale() const {
    PangoLayout* layout = gtk_widget_create_pango_layout(window_, kAverageCharSample);
    int sampleWidth = 0, sampleHeight = 0;
    pango_layout_get_pixel_size(layout, &sampleWidth, &sampleHeight);
    g_object_unref(layout);
    Scale scale{sampleWidth / static_cast<double>(kAverageCharSampleLength) / kUnitsPerCharWidth,
                sampleHeight / kUnitsPerCharHeight};
    for (const Control& control : controls_) {
        const DialogControl& c = *control.control;
        if (c.kind == ControlKind::Picture || c.kind == ControlKind::GroupBox) continue;
        int minimum = 0, natural = 0;
        gtk_widget_get_preferred_width(control.widget, &minimum, &natural);
        if (c.kind == ControlKind::StaticText)
            natural = OneLineWidth(control.widget) / LinesOfText(c);
        scale.x = std::max(scale.x, std::max(minimum, natural) / static_cast<double>(c.width));
    }
    for (const Control& control : controls_) {
        const DialogControl& c = *control.control;
        if (c.kind == ControlKind::Picture || c.kind == ControlKind::GroupBox) continue;
        int minimum = 0, natural = 0;
        gtk_widget_get_preferred_height_for_width(control.widget, scale.X(c.width), &minimum,
                                                  &natural);
        scale.y = std::max(scale.y, natural / static_cast<double>(c.height));
    }
    return scale;
}

void GtkDialogView::Place(const Scale& scale) {
    for (const Control& control : controls_) {
        const DialogControl& c = *control.control;
        gtk_fixed_move(GTK_FIXED(fixed_), control.widget, scale.X(c.x), scale.Y(c.y));
        gtk_widget_set_size_request(control.widget, scale.X(c.width), scale.Y(c.height));
        if (c.kind == ControlKind::StaticText) FixLabelWidth(control.widget, scale.X(c.width));
        if (c.kind != ControlKind::Picture) continue;
        GdkPixbuf* picture = LoadPictureResource(c.caption);
        if (picture == nullptr) continue;
        const double fit =
            std::min(scale.X(c.width) / static_cast<double>(gdk_pixbuf_get_width(picture)),
                     scale.Y(c.height) / static_cast<double>(gdk_pixbuf_get_height(picture)));
        GdkPixbuf* scaled = gdk_pixbuf_scale_simple(
            picture, static_cast<int>(gdk_pixbuf_get_width(picture) * fit),
            static_cast<int>(gdk_pixbuf_get_height(picture) * fit), GDK_INTERP_BILINEAR);
        gtk_image_set_from_pixbuf(GTK_IMAGE(control.widget), scaled);
        g_object_unref(scaled);
        g_object_unref(picture);
    }
    gtk_widget_set_size_request(fixed_, scale.X(template_.width), scale.Y(template_.height));
}

GtkDialogView::Control* GtkDialogView::Find(int id) {
    for (Control& control : controls_) {
        if (control.control->id == id && TakesFocus(control.control->kind)) return &control;
    }
    return nullptr;
}

// A radio group is one stop, at its selected button, or at its first when none is selected.
bool GtkDialogView::IsTabStop(const Control& control) const {
    if (!TakesFocus(control.control->kind)) return false;
    if (control.control->kind != ControlKind::RadioButton) return true;
    if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(control.widget))) return true;
    return control.control->startsGroup &&
           gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(control.groupHolder));
}

void GtkDialogView::MoveFocus(bool forward) {
    const GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window_));
    const int count = static_cast<int>(controls_.size());
    int at = count - 1;
    for (int i = 0; i < count; ++i) {
        if (controls_[static_cast<std::size_t>(i)].widget == focus) at = i;
    }
    if (!forward && focus == nullptr) at = 0;
    for (int step = 1; step <= count; ++step) {
        const int next = ((forward ? at + step : at - step) % count + count) % count;
        const Control& control = controls_[static_cast<std::size_t>(next)];
        if (!IsTabStop(control)) continue;
        // Backwards into a radio group lands on its stop too, not on its last button.
        gtk_widget_grab_focus(control.widget);
        return;
    }
}

bool GtkDialogView::OnKey(const GdkEventKey& key) {
    switch (key.keyval) {
        case GDK_KEY_Tab:
        case GDK_KEY_KP_Tab:
        case GDK_KEY_ISO_Left_Tab:
            MoveFocus(key.keyval != GDK_KEY_ISO_Left_Tab && (key.state & GDK_SHIFT_MASK) == 0);
            return true;
        case GDK_KEY_Escape:
            Dispatch(kIdCancel);
            return true;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter: {
            GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window_));
            if (focus != nullptr && GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus)) {
                return false;  // the focused push button presses itself
            }
            Dispatch(kIdOk);
            return true;
        }
        default:
            return false;
    }
}

void GtkDialogView::Dispatch(int id) {
    if (loop_ != nullptr && g_main_loop_is_running(loop_)) procedure_.Command(*this, id);
}

void GtkDialogView::OnToggled(GtkToggleButton* button, gpointer data) {
    auto* view = static_cast<GtkDialogView*>(data);
    if (view->updating_) return;
    // A radio group reports its newly selected button only, as a click on it does.
    if (GTK_IS_RADIO_BUTTON(button) && !gtk_toggle_button_get_active(button)) return;
    for (const Control& control : view->controls_) {
        if (control.widget == GTK_WIDGET(button)) view->Dispatch(control.control->id);
    }
}

void GtkDialogView::OnClicked(GtkButton* button, gpointer data) {
    auto* view = static_cast<GtkDialogView*>(data);
    for (const Control& control : view->controls_) {
        if (control.widget == GTK_WIDGET(button)) view->Dispatch(control.control->id);
    }
}

gboolean GtkDialogView::OnKeyPress(GtkWidget*, GdkEventKey* key, gpointer data) {
    return static_cast<GtkDialogView*>(data)->OnKey(*key) ? TRUE : FALSE;
}

gboolean GtkDialogView::OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    static_cast<GtkDialogView*>(data)->Dispatch(kIdCancel);
    return TRUE;  // the procedure decides when the window goes
}

// GTK destroys a top-level window whose X window another client destroyed. A dialog without
// its window can take no more clicks, so it ends as CANCEL does; the loop is quit even if the
// procedure would not end, and Run must not destroy the window a second time.
void GtkDialogView::OnDestroyed(GtkWidget*, gpointer data) {
    auto* view = static_cast<GtkDialogView*>(data);
    view->window_ = nullptr;
    view->controls_.clear();
    view->Dispatch(kIdCancel);
    view->End();
}

gboolean GtkDialogView::OnPosted(gpointer data) {
    auto* posted = static_cast<PostedCommand*>(data);
    std::erase(posted->view->posted_, posted->source);
    posted->view->Dispatch(posted->id);
    return G_SOURCE_REMOVE;
}

void GtkDialogView::SetCheck(int id, bool checked) {
    Control* control = Find(id);
    if (control == nullptr) return;
    auto* button = GTK_TOGGLE_BUTTON(control->widget);
    updating_ = true;
    if (checked) {
        gtk_toggle_button_set_active(button, TRUE);
    } else if (control->groupHolder == nullptr) {
        gtk_toggle_button_set_active(button, FALSE);
    } else if (gtk_toggle_button_get_active(button)) {
        // GTK keeps one radio button of a group selected; the unseen one stands for none.
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(control->groupHolder), TRUE);
    }
    updating_ = false;
}

void GtkDialogView::SetText(int id, const std::string& text) {
    Control* control = Find(id);
    if (control != nullptr && GTK_IS_ENTRY(control->widget)) {
        gtk_entry_set_text(GTK_ENTRY(control->widget), text.c_str());
    }
}

std::string GtkDialogView::Text(int id, std::size_t maxLength) {
    Control* control = Find(id);
    if (control == nullptr || !GTK_IS_ENTRY(control->widget)) return {};
    return std::string(gtk_entry_get_text(GTK_ENTRY(control->widget))).substr(0, maxLength);
}

void GtkDialogView::Focus(int id) {
    if (Control* control = Find(id)) gtk_widget_grab_focus(control->widget);
}

void GtkDialogView::PostCommand(int id) {
    auto* posted = new PostedCommand{this, id};
    posted->source = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, OnPosted, posted, [](gpointer data) {
        delete static_cast<PostedCommand*>(data);
    });
    posted_.push_back(posted->source);
}

void GtkDialogView::End() {
    if (loop_ != nullptr) g_main_loop_quit(loop_);
}

std::optional<std::string> GtkDialogView::ChooseFileToOpen(const OpenFileRequest& request) {
    GtkWidget* chooser = gtk_file_chooser_dialog_new(
        request.title.c_str(), GTK_WINDOW(window_), GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
        GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_file_chooser_set_local_only(GTK_FILE_CHOOSER(chooser), TRUE);
    for (const FileFilter& filter : request.filters) {
        GtkFileFilter* made = gtk_file_filter_new();
        gtk_file_filter_set_name(made, filter.name.c_str());
        gtk_file_filter_add_pattern(made, CaseInsensitivePattern(filter.pattern).c_str());
        gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), made);
        if (&filter == &request.filters.front()) {
            gtk_file_chooser_set_filter(GTK_FILE_CHOOSER(chooser), made);
        }
    }
    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        char* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
        if (name != nullptr && (!request.mustExist || g_file_test(name, G_FILE_TEST_EXISTS))) {
            chosen = name;
        }
        g_free(name);
    }
    gtk_widget_destroy(chooser);
    return chosen;
}

bool GtkDialogView::Run(WindowId owner) {
    if (!gtk_init_check(nullptr, nullptr)) return false;
    BuildWindow(owner);
    loop_ = g_main_loop_new(nullptr, FALSE);
    procedure_.Initialise(*this);
    gtk_widget_show_all(window_);
    g_main_loop_run(loop_);
    // Commands posted but not yet run die with the dialog.
    for (guint source : posted_) g_source_remove(source);
    posted_.clear();
    if (window_ != nullptr) gtk_widget_destroy(window_);
    for (GtkWidget* holder : groupHolders_) g_object_unref(holder);
    g_main_loop_unref(loop_);
    loop_ = nullptr;
    while (gtk_events_pending()) gtk_main_iteration();
    return true;
}

}  // namespace

bool RunModalDialog(const DialogTemplate& dialog, WindowId owner, DialogProcedure& procedure) {
    GtkDialogView view(dialog, procedure);
    return view.Run(owner);
}
