// The termios port on a pseudo-terminal: the device a test holds the master
// side of stands in for the console's serial line.

#include "LinkTermios.h"
#include "SerialLink.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <memory>
#include <thread>

namespace {

std::size_t CountOf(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class PtyLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[128];
        ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        device = name;
        dir = std::make_unique<TempWorkDir>(
            ("COM1_DEVICE=" + device + "\nLINK_TIMEOUT_MS=50\n").c_str());
        ASSERT_EQ(LinkOpen(1, 19200), 0);
    }
    void TearDown() override
    {
        LinkClose();
        if (master >= 0) close(master);
        close(slave);
    }

    // Bytes the program sent, read from the master within a bound.
    std::string FromProgram(std::size_t count)
    {
        std::string got;
        while (got.size() < count) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 5000) <= 0) break;
            char buf[256];
            ssize_t n = read(master, buf, std::min(sizeof buf, count - got.size()));
            if (n <= 0) break;
            got.append(buf, static_cast<std::size_t>(n));
        }
        return got;
    }
    void ToProgram(const std::string& bytes)
    {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    std::string EventLogText() { return dir->ReadFile("eventLog.txt"); }

    int master = -1;
    int slave = -1;
    std::string device;
    std::unique_ptr<TempWorkDir> dir;
};

TEST_F(PtyLink, EveryByteValuePassesUnchangedBothWays)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    ToProgram(all);
    std::string got;
    for (int i = 0; i < 256; ++i) got += static_cast<char>(LinkGetByte());
    EXPECT_EQ(got, all);
    EXPECT_EQ(LinkGetByte(), -1);

    for (int b = 0; b < 256; ++b) LinkPutByte(b);
    EXPECT_EQ(FromProgram(256), all);
    EXPECT_EQ(LinkPutString("MOD01 |\n"), 0);
    EXPECT_EQ(FromProgram(8), "MOD01 |\n");
}

TEST_F(PtyLink, RawEightNoneOneWithoutFlowControl)
{
    termios tio{};
    ASSERT_EQ(tcgetattr(slave, &tio), 0);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | ISTRIP), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST_F(PtyLink, EachConsoleSpeedIsSetExactly)
{
    for (int baud : {1200, 2400, 4800, 9600, 14400, 19200}) {
        ASSERT_EQ(LinkOpen(1, baud), 0) << baud;
        EXPECT_EQ(ReadTtySpeed(slave), baud);
    }
    EXPECT_EQ(EventLogText(), "");
}

TEST_F(PtyLink, FlushDiscardsWhatArrivedBeforeIt)
{
    // A junk byte that slipped past a flush would be read in place of an A.
    for (int round = 0; round < 50; ++round) {
        ToProgram("junk\n\r");
        LinkFlush();
        ToProgram("A");
        ASSERT_EQ(LinkGetByte(), 'A') << round;
    }
    EXPECT_EQ(LinkGetByte(), -1);
}

TEST_F(PtyLink, OutputThatNeverDrainsFailsTheSend)
{
    // Nobody reads the master, so its buffers fill and stay full.
    const std::string line(98, 'x');
    int sends = 0;
    while (sends < 100000 && LinkPutString((line + "\n").c_str()) == 0) ++sends;
    EXPECT_LT(sends, 100000);
    EXPECT_NE(LinkPutString("MOD00\n"), 0);
}

TEST_F(PtyLink, LinesFromTwoThreadsNeverInterleave)
{
    auto send = [](const char* line) {
        for (int i = 0; i < 200; ++i) ASSERT_EQ(LinkPutString(line), 0);
    };
    std::thread a(send, "AAAA\n");
    std::thread b(send, "BBBB\n");
    a.join();
    b.join();
    const std::string got = FromProgram(2000);
    ASSERT_EQ(got.size(), 2000u);
    for (std::size_t at = 0; at < got.size(); at += 5) {
        const std::string line = got.substr(at, 5);
        EXPECT_TRUE(line == "AAAA\n" || line == "BBBB\n") << line;
    }
    EXPECT_EQ(CountOf(got, "A"), 800u);
}

TEST_F(PtyLink, TimeOutOverrideAndClosedPort)
{
    int previous = SetLinkTimeoutMs(10);
    EXPECT_EQ(LinkGetByte(), -1);
    SetLinkTimeoutMs(previous);

    LinkClose();
    LinkClose();
    EXPECT_EQ(LinkGetByte(), -1);
    EXPECT_NE(LinkPutString("MOD00\n"), 0);
    LinkPutByte(0x0A);
    LinkFlush();
}

TEST_F(PtyLink, PortHeldElsewhereIsBusy)
{
    LinkClose();
    TermiosLink other;
    ASSERT_EQ(other.Open(1, 19200), 0);
    EXPECT_NE(LinkOpen(1, 19200), 0);
    const std::string log = EventLogText();
    EXPECT_EQ(CountOf(log, "{LinkOpen}"), 1u);
    EXPECT_NE(log.find("COM1 (" + device + ") could not be opened: Device or resource busy. "
                       "Another program holds the port; close it and try again."),
              std::string::npos);
    other.Close();
    EXPECT_EQ(LinkOpen(1, 19200), 0);
}

TEST_F(PtyLink, ReopeningTheOpenPortReplacesIt)
{
    EXPECT_EQ(LinkOpen(1, 9600), 0);
    EXPECT_EQ(EventLogText(), "");
}

TEST_F(PtyLink, HangUpReadsAsTimeOutAndFailsTheSend)
{
    ToProgram("\n");
    EXPECT_EQ(LinkGetByte(), '\n');
    close(master);
    master = -1;
    EXPECT_EQ(LinkGetByte(), -1);
    EXPECT_NE(LinkPutString("MOD00\n"), 0);
    LinkPutByte(0x0A);
    LinkFlush();
    EXPECT_EQ(LinkGetByte(), -1);
}

struct OpenFailure {
    const char* config;
    int port, baud;
    const char* message;
};

class LinkOpenFails : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(LinkOpenFails, WritesOneEntryNamingDeviceAndReason)
{
    const OpenFailure& c = GetParam();
    TempWorkDir dir(c.config);
    dir.WriteFile("plain.txt", "not a serial port");
    EXPECT_NE(LinkOpen(c.port, c.baud), 0);
    LinkClose();
    LinkClose();
    const std::string log = dir.ReadFile("eventLog.txt");
    EXPECT_EQ(CountOf(log, "{LinkOpen}"), 1u) << log;
    EXPECT_NE(log.find(std::string("\t\t\t") + c.message + "  \n"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkOpenFails,
    ::testing::Values(
        OpenFailure{"COM1_DEVICE=/nonexistent/corvane-tty\n", 1, 19200,
                    "COM1 (/nonexistent/corvane-tty) could not be opened: No such file or directory. "
                    "Check that the adapter is plugged in and that COM1_DEVICE in config.txt names it."},
        OpenFailure{"COM4_DEVICE=plain.txt\n", 4, 19200,
                    "COM4 (plain.txt) could not be opened: Inappropriate ioctl for device."},
        OpenFailure{"COM1_DEVICE=/dev/null\n", 2, 19200,
                    "COM2 has no device: COM2_DEVICE is missing from config.txt."},
        OpenFailure{"", 0, 0, "Serial port 0 is not one of COM1 to COM8; choose the port again."},
        OpenFailure{"", 9, 19200, "Serial port 9 is not one of COM1 to COM8; choose the port again."},
        OpenFailure{"COM1_DEVICE=/dev/null\n", 1, 38400,
                    "COM1 (/dev/null) could not be opened: 38400 baud is not one of 1200, 2400, "
                    "4800, 9600, 14400 and 19200."}));

TEST(LinkOpenFailure, PermissionDeniedNamesTheDialoutGroup)
{
    // Root opens any device, so this reason is checked on its text alone.
    EXPECT_EQ(LinkOpenFailure("COM5", "/dev/ttyS0", EACCES),
              "COM5 (/dev/ttyS0) could not be opened: Permission denied. The user must be in "
              "the dialout group to use serial ports (sudo usermod -aG dialout $USER, then log "
              "in again).");
}

}  // namespace
