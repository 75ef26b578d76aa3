// A dialog view without a window, for driving the configuration dialog's behaviour in
// tests: it keeps what the dialog shows, answers the file chooser from a script, and runs
// posted commands when the test says so.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/dialog_view.h"

class FakeDialogView final : public DialogView {
  public:
    void SetCheck(int id, bool checked) override { checks[id] = checked; }
    void SetText(int id, const std::string& text) override { texts[id] = text; }
    std::string Text(int id, std::size_t maxLength) override {
        return texts[id].substr(0, maxLength);
    }
    void Focus(int id) override { focus = id; }
    void PostCommand(int id) override { posted.push_back(id); }
    void End() override { ended = true; }
    std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override {
        chooserRequests.push_back(request);
        return chosenFile;
    }

    // Runs the commands posted so far, as the dialog's loop would once the current one ends.
    void RunPosted(DialogProcedure& procedure) {
        std::vector<int> pending;
        pending.swap(posted);
        for (int id : pending) procedure.Command(*this, id);
    }

    std::map<int, bool> checks;
    std::map<int, std::string> texts;
    int focus = 0;
    std::vector<int> posted;
    bool ended = false;
    std::optional<std::string> chosenFile;
    std::vector<OpenFileRequest> chooserRequests;
};
