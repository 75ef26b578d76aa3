// Message boxes on Linux: GTK 3 dialogs, the stderr fallback and the test seam.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/linux/gtk_owner.h"
#include "platform/linux/saver_window_records.h"
#include "platform/message_box.h"

namespace {

MessageBoxSpy& Spy() {
    static MessageBoxSpy spy;
    return spy;
}

BoxAnswer AnswerWithoutPerson(BoxButtons buttons) {
    return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

const char* AnswerName(BoxAnswer answer) {
    switch (answer) {
        case BoxAnswer::Yes:
            return "yes";
        case BoxAnswer::No:
            return "no";
        case BoxAnswer::Ok:
            return "ok";
    }
    return "ok";
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

// Answers scripted through VOSTREL_TEST_ANSWERS, consumed one per box in this process.
BoxAnswer NextScriptedAnswer(BoxButtons buttons) {
    static std::vector<std::string> answers;
    static std::size_t next = 0;
    static bool parsed = false;
    if (!parsed) {
        parsed = true;
        if (const char* list = std::getenv("VOSTREL_TEST_ANSWERS")) {
            std::stringstream stream(list);
            for (std::string item; std::getline(stream, item, ',');) answers.push_back(item);
        }
    }
    if (next >= answers.size()) return AnswerWithoutPerson(buttons);
    const std::string& answer = answers[next++];
    if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    return answer == "yes" ? BoxAnswer::Yes : BoxAnswer::No;
}

BoxAnswer RecordForTest(const char* logPath, const MessageBoxRequest& request) {
    BoxAnswer answer = NextScriptedAnswer(request.buttons);
    std::ofstream log(logPath, std::ios::app);
    log << "{\"owner\":" << request.owner << ",\"title\":" << JsonString(request.title)
        << ",\"text\":" << JsonString(request.text) << ",\"icon\":\"" << BoxIconName(request.icon)
        << "\",\"buttons\":\"" << BoxButtonsName(request.buttons) << "\",\"answer\":\""
        << AnswerName(answer) << "\"}\n";
    return answer;
}

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
    gint response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    while (gtk_events_pending()) gtk_main_iteration();
    if (request.buttons == BoxButtons::Ok) return BoxAnswer::Ok;
    return response == GTK_RESPONSE_YES ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace

const char* BoxIconName(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Error:
            return "error";
        case BoxIcon::Warning:
            return "warning";
        case BoxIcon::Question:
            return "question";
        case BoxIcon::Information:
            return "information";
    }
    return "information";
}

const char* BoxButtonsName(BoxButtons buttons) {
    return buttons == BoxButtons::YesNo ? "yesno" : "ok";
}

void SetMessageBoxSpy(MessageBoxSpy spy) {
    Spy() = std::move(spy);
}

BoxAnswer ShowMessageBox(const MessageBoxRequest& request) {
    DeactivateTopLevelWindows();
    if (Spy()) return Spy()(request);
    if (const char* logPath = std::getenv("VOSTREL_TEST_BOXES")) {
        return RecordForTest(logPath, request);
    }
    static const bool haveDisplay = gtk_init_check(nullptr, nullptr);
    if (!haveDisplay) {
        std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
        return AnswerWithoutPerson(request.buttons);
    }
    return ShowGtkDialog(request);
}
