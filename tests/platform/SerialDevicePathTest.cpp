#include "platform/posix/SerialDevicePath.h"

#include "support/PtyLine.h"

#include <gtest/gtest.h>

TEST(SerialDevicePath, ALinkInTheProgramFolderWinsOverTheBuiltInUart)
{
    PortHome home;
    EXPECT_EQ(SerialDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(SerialDevicePath(12), "/dev/ttyS11");
    home.Link(12, "/dev/ttyUSB0");
    EXPECT_EQ(SerialDevicePath(12), home.LinkPath(12).string());
    // A link whose device is unplugged still names the port, so opening it says what is wrong.
    home.Link(3, "/nonexistent/ttyUSB7");
    EXPECT_EQ(SerialDevicePath(3), home.LinkPath(3).string());
}
