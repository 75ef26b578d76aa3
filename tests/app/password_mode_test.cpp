// The answer to a password-change request: two questions, and a mail link on Yes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/run_modes.h"
#include "base/product.h"
#include "platform/message_box.h"
#include "platform_spies.h"

TEST(PasswordMode, MailLinkIsAValidMailtoUri) {
    std::string link = MailLink("Hey man! Your screensaver's got no password check!");
    EXPECT_EQ(link, std::string("mailto:") + kContactAddress +
                        "?subject=Hey%20man%21%20Your%20screensaver%27s%20got%20no%20password"
                        "%20check%21");
    EXPECT_EQ(link.find(' '), std::string::npos);
}

TEST(PasswordMode, AsksTwiceWhenTheFirstAnswerIsNo) {
    std::vector<MessageBoxRequest> seen;
    SetMessageBoxSpy([&](const MessageBoxRequest& request) {
        seen.push_back(request);
        return BoxAnswer::No;
    });
    RunPasswordMode(4321);

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text,
              "Password Check not yet implemented.\nDo you wish to e-mail the author asking\n"
              "to include such feature?");
    EXPECT_EQ(seen[1].text, "Mail me anyway?\neheh :-)");
    for (const MessageBoxRequest& box : seen) {
        EXPECT_EQ(box.owner, 4321u);
        EXPECT_EQ(box.title, "Vostrel ScreenSaver");
        EXPECT_EQ(box.icon, BoxIcon::Question);
        EXPECT_EQ(box.buttons, BoxButtons::YesNo);
    }
}
