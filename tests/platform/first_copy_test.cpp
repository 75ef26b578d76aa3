// Of several copies of the hack (one per monitor), exactly one plays the music, and a copy
// that was killed does not keep the others silent.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/first_copy.h"

namespace {

std::string UniqueClaim(const char* what) {
    return std::string("vostrel-test-") + what + "-" + std::to_string(getpid());
}

// Runs the claim in a child process and answers what the child got.
bool ClaimInChild(const std::string& name) {
    const pid_t child = fork();
    if (child == 0) _exit(ClaimFirstCopy(name.c_str()) ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(FirstCopy, OnlyTheFirstHolderWinsUntilItEnds) {
    const std::string name = UniqueClaim("claim");
    EXPECT_TRUE(ClaimInChild(name)) << "nobody holds it: the child is first";
    EXPECT_TRUE(ClaimInChild(name)) << "the child's claim went with the child";
    EXPECT_TRUE(ClaimFirstCopy(name.c_str()));
    EXPECT_FALSE(ClaimInChild(name)) << "this process holds it";
    EXPECT_TRUE(ClaimInChild(UniqueClaim("other"))) << "names do not share a claim";
}
