#include "platform/posix/SerialDevicePath.h"

#include "support/PtyLine.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(CanonicalDevicePath, LinksToOneDeviceMeetAtItsOwnName)
{
    PortHome home;
    PtyLine line;
    const std::string device = std::filesystem::canonical(line.SlavePath()).string();
    home.Link(7, line.SlavePath());
    // A link to a link, as a person may make through a folder of aliases.
    const auto alias = home.LinkPath(7).parent_path() / "alias";
    std::filesystem::create_symlink(home.LinkPath(7), alias);
    home.Link(3, alias.string());
    EXPECT_EQ(CanonicalDevicePath(SerialDevicePath(7)), device);
    EXPECT_EQ(CanonicalDevicePath(SerialDevicePath(3)), device);

    PtyLine other;
    home.Link(4, other.SlavePath());
    EXPECT_NE(CanonicalDevicePath(SerialDevicePath(4)), device);

    // A device that is gone keeps a name of its own, the same each time it is asked.
    home.Link(9, "/nonexistent/ttyUSB9");
    EXPECT_EQ(CanonicalDevicePath(SerialDevicePath(9)), "/nonexistent/ttyUSB9");
}
