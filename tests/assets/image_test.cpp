#include "assets/image.h"

#include <gtest/gtest.h>

TEST(Image, AllocateWithAZeroOrNegativeNumberGivesFalseAndStaysEmpty) {
    const int requests[][3] = {{0, 4, 24}, {4, 0, 24}, {4, 4, 0}, {-1, 4, 24}, {4, 4, -8}};
    for (const auto& request : requests) {
        Image image;
        EXPECT_FALSE(image.Allocate(request[0], request[1], request[2]));
        EXPECT_EQ(image.GetPixels(), nullptr);
        EXPECT_EQ(image.GetWidth(), 0);
        EXPECT_EQ(image.GetHeight(), 0);
        EXPECT_EQ(image.GetBitsPerPixel(), 0);
    }
}

TEST(Image, ReleaseFreesTheBufferButKeepsTheNumbers) {
    Image image;
    ASSERT_TRUE(image.Allocate(3, 5, 32));
    ASSERT_NE(image.GetPixels(), nullptr);
    image.GetPixels()[3 * 5 * 4 - 1] = 1;  // the last byte is inside the buffer
    image.Release();
    EXPECT_EQ(image.GetPixels(), nullptr);
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetHeight(), 5);
    EXPECT_EQ(image.GetBitsPerPixel(), 32);
}
