#include "app/debug_report.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/message_box.h"
#include "settings/settings.h"

namespace {

class DebugReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetMessageBoxSpy([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            return request.buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Ok;
        });
    }
    void TearDown() override {
        SetMessageBoxSpy({});
        settings = Settings{};
    }
    std::vector<MessageBoxRequest> boxes;
};

TEST_F(DebugReportTest, DebugOffOpensNothingLogsNothingAndAsksNothing) {
    settings.debug = 0x100;  // only the low byte counts
    EXPECT_TRUE(OpenDebugReport());
    LogLine("WM_CREATE\n");
    LogSettingsDump();
    EXPECT_TRUE(CloseDebugReport());
    OfferDebugReport();
    EXPECT_TRUE(boxes.empty());
}

}  // namespace
