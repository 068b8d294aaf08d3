#include "platform/posix/ComPorts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

class ComPortsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("tz_ports_" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "sys");
        fs::create_directories(root / "home");
        roots.sysClassTty = (root / "sys").string();
        roots.linkFolder = (root / "home").string();
    }
    void TearDown() override { fs::remove_all(root); }

    // A tty entry as the kernel shows it: a folder, with a "device" link when a driver owns it,
    // and the serial port type (0 for a slot without a UART).
    void AddTty(const std::string& name, bool withDevice, int type = -1)
    {
        const fs::path tty = root / "sys" / name;
        fs::create_directories(tty);
        if (withDevice)
            fs::create_directory_symlink(root, tty / "device");
        if (type >= 0)
            std::ofstream(tty / "type") << type << "\n";
    }
    void AddLink(const std::string& name, const fs::path& target)
    {
        fs::create_symlink(target, root / "home" / name);
    }

    fs::path root;
    ComPortRoots roots;
};

TEST_F(ComPortsTest, SerialDevicesAndComLinksGiveTheirNumbers)
{
    AddTty("ttyS0", true, 4);     // a real UART: port 1
    AddTty("ttyS1", true, 0);     // a reserved slot without a UART
    AddTty("ttyS2", false);       // no device at all
    AddTty("ttyS9", true);        // no type attribute: trust the device
    AddTty("ttyUSB0", true);      // reachable only through a COM link
    AddTty("tty3", true);
    AddLink("COM3", "/dev/null"); // any character device stands in for an adapter
    AddLink("COM12", "/dev/null");
    AddLink("COM1", "/dev/null"); // the same number as ttyS0: listed once
    AddLink("COM4", root / "nowhere");   // dangling
    AddLink("COMx", "/dev/null");
    AddLink("com5", "/dev/null");
    AddLink("COM0", "/dev/null");
    std::ofstream(root / "home" / "COM6") << "a plain file is no port";

    std::vector<int> ports;
    ASSERT_TRUE(ListComPorts(ports, true, roots));
    EXPECT_EQ(ports, (std::vector<int>{1, 3, 10, 12}));
}

TEST_F(ComPortsTest, AddsToTheListAndSortsOnlyWhenAsked)
{
    AddTty("ttyS4", true, 4);
    AddLink("COM2", "/dev/null");
    std::vector<int> ports{7};
    ASSERT_TRUE(ListComPorts(ports, false, roots));
    EXPECT_EQ(ports, (std::vector<int>{7, 5, 2}));
    ASSERT_TRUE(ListComPorts(ports, true, roots));
    EXPECT_EQ(ports, (std::vector<int>{2, 5, 7}));
}

TEST_F(ComPortsTest, NothingReadableIsFalse)
{
    ComPortRoots missing{(root / "none").string(), (root / "none2").string()};
    std::vector<int> ports;
    EXPECT_FALSE(ListComPorts(ports, true, missing));
    EXPECT_TRUE(ports.empty());
}

TEST(CompareIntsTest, OrdersAscendingWithoutOverflow)
{
    EXPECT_LT(CompareInts(1, 3), 0);
    EXPECT_EQ(CompareInts(3, 3), 0);
    EXPECT_GT(CompareInts(4, 3), 0);
    EXPECT_LT(CompareInts(-2147483647 - 1, 2147483647), 0);
}
