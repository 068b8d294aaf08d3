#pragma once
// A serial line for tests: a pseudo-terminal pair whose slave side plays the port's device
// and whose master side plays the peer at the other end of the cable. PortHome gives each test
// its own program folder (with the COM<N> link) and runtime folder (with the port locks).
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

using Octets = std::vector<uint8_t>;

class PtyLine {
public:
    PtyLine()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slavePath_ = ptsname(master_);
    }
    ~PtyLine() { ::close(master_); }
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int Master() const { return master_; }

    // What the peer says down the line.
    void Say(const Octets& octets) const
    {
        size_t done = 0;
        while (done < octets.size()) {
            const ssize_t n = ::write(master_, octets.data() + done, octets.size() - done);
            if (n > 0)
                done += static_cast<size_t>(n);
            else
                WaitFor(POLLOUT, std::chrono::milliseconds(100));
        }
    }

    // What the peer hears: `count` octets, or fewer when `wait` passes first.
    Octets Hear(size_t count, std::chrono::milliseconds wait = std::chrono::milliseconds(1000)) const
    {
        Octets heard;
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (heard.size() < count) {
            uint8_t buffer[4096];
            const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - heard.size()));
            if (n > 0) {
                heard.insert(heard.end(), buffer, buffer + n);
                continue;
            }
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline)
                break;
            WaitFor(POLLIN, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now)
                    + std::chrono::milliseconds(1));
        }
        return heard;
    }

    // The slave's line settings as the port set them (termios requests on the master act on
    // the slave).
    termios Settings() const
    {
        termios t {};
        tcgetattr(master_, &t);
        return t;
    }
    void ChangeSettings(const termios& t) const { tcsetattr(master_, TCSANOW, &t); }

private:
    void WaitFor(short events, std::chrono::milliseconds wait) const
    {
        pollfd p {master_, events, 0};
        poll(&p, 1, static_cast<int>(wait.count()));
    }

    int master_ = -1;
    std::string slavePath_;
};

// A private program folder and runtime folder for one test, restored afterwards.
class PortHome {
public:
    PortHome()
    {
        static int serial = 0;
        root_ = std::filesystem::temp_directory_path()
            / ("tz_port_" + std::to_string(getpid()) + "_" + std::to_string(++serial));
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "home");
        std::filesystem::create_directories(root_ / "run");
        Save("TAVIK_ZUZID_HOME", (root_ / "home").string());
        Save("XDG_RUNTIME_DIR", (root_ / "run").string());
    }
    ~PortHome()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        std::filesystem::remove_all(root_);
    }

    // Makes COM<number> in the program's folder point at `device`.
    void Link(int number, const std::string& device) const
    {
        std::filesystem::create_symlink(device, LinkPath(number));
    }
    void Unlink(int number) const { std::filesystem::remove(LinkPath(number)); }
    std::filesystem::path LinkPath(int number) const
    {
        return root_ / "home" / ("COM" + std::to_string(number));
    }

private:
    void Save(const std::string& name, const std::string& value)
    {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }

    std::filesystem::path root_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
