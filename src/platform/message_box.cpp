// Message boxes, the part every system shares: the test spy, the recorder with its scripted
// answers and the names of icons and buttons; the box itself is the system's.
#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

bool boxesOnStandardError = false;
bool runGoesOnBoxOpen = false;

MessageBoxSpy& Spy() {
    static MessageBoxSpy spy;
    return spy;
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

// The spy, the recorder, standard error or the system's own box, in that order.
BoxAnswer AnswerMessageBox(const MessageBoxRequest& request) {
    if (Spy()) return Spy()(request);
    if (const char* logPath = std::getenv("VOSTREL_TEST_BOXES")) {
        return RecordForTest(logPath, request);
    }
    if (boxesOnStandardError) {
        std::fprintf(stderr, "%s: %s\n", request.title.c_str(), request.text.c_str());
        return AnswerWithoutPerson(request.buttons);
    }
    return ShowSystemMessageBox(request);
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

BoxAnswer AnswerWithoutPerson(BoxButtons buttons) {
    return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
}

void ShowMessageBoxesOnStandardError() {
    boxesOnStandardError = true;
}

bool RunGoesOnBoxOpen() {
    return runGoesOnBoxOpen;
}

BoxAnswer ShowMessageBox(const MessageBoxRequest& request) {
    PrepareForMessageBox(request);
    runGoesOnBoxOpen = request.runGoesOn;
    const BoxAnswer answer = AnswerMessageBox(request);
    runGoesOnBoxOpen = false;
    FinishMessageBox(request);
    return answer;
}
