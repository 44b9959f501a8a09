// The termios port on a pseudo-terminal: the device a test holds the master
// side of stands in for the console's serial line. A device that hangs up
// mid-exchange is among the link tests on the simulator. Then why the port
// would not open, in the words the message box shows: each reason from its
// errno, and a pseudo-terminal another program holds.

#include "link/LinkTermios.h"
#include "link/PortFailure.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <poll.h>
#include <pty.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace {

class PtyLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        dir = std::make_unique<TempWorkDir>(("COM1_DEVICE=" + Device() + "\nLINK_TIMEOUT_MS=50\n").c_str());
        ASSERT_EQ(LinkOpen(1, 19200), 0);
    }
    ~PtyLink() override { LinkClose(); close(master); close(slave); }
    // Bytes the program sent, read from the master within a bound.
    std::string FromProgram(std::size_t count)
    {
        std::string got;
        char buf[256];
        ssize_t n = 0;
        for (pollfd p{master, POLLIN, 0}; got.size() < count && poll(&p, 1, 5000) > 0 &&
                                          (n = read(master, buf, std::min(sizeof buf, count - got.size()))) > 0;)
            got.append(buf, static_cast<std::size_t>(n));
        return got;
    }
    std::string Device() const { return ttyname(slave); }

    int master = -1, slave = -1;
    std::unique_ptr<TempWorkDir> dir;
};

TEST_F(PtyLink, EachConsoleSpeedExactlyWithEightNoneOne)
{
    // The port is open already: each open replaces it.
    for (int baud : {1200, 2400, 4800, 9600, 14400, 19200}) {
        ASSERT_EQ(LinkOpen(1, baud), 0) << baud;
        EXPECT_EQ(ReadTtySpeed(slave), baud);
    }
    termios tio{};
    ASSERT_EQ(tcgetattr(slave, &tio), 0);
    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
}

TEST_F(PtyLink, OutputThatNeverDrainsFailsTheSend)
{
    // Nobody reads the master, so its buffers fill and stay full.
    int sends = 0;
    while (sends < 100000 && LinkPutString((std::string(98, 'x') + "\n").c_str()) == 0) ++sends;
    EXPECT_LT(sends, 100000);
}

TEST_F(PtyLink, LinesFromTwoThreadsNeverInterleave)
{
    auto send = [](const char* line) { for (int i = 0; i < 200; ++i) EXPECT_EQ(LinkPutString(line), 0); };
    std::thread a(send, "AAAA\n"), b(send, "BBBB\n");
    a.join(), b.join();
    const std::string got = FromProgram(2000);
    ASSERT_EQ(got.size(), 2000u);
    for (std::size_t at = 0; at < got.size(); at += 5)
        EXPECT_TRUE(got.compare(at, 5, "AAAA\n") == 0 || got.compare(at, 5, "BBBB\n") == 0) << at;
    EXPECT_EQ(std::count(got.begin(), got.end(), 'A'), 800);
}

TEST(LinkOpen, FailureWritesOneEntryNamingDeviceAndReason)
{
    struct Case { const char* config; int port, baud; const char* message; };
    for (const Case& c : {
             Case{"COM1_DEVICE=/nonexistent/corvane-tty\n", 1, 19200,
                  "COM1 (/nonexistent/corvane-tty) could not be opened: No such file or directory. "
                  "Check that the adapter is plugged in and that COM1_DEVICE in config.txt names it."},
             Case{"COM1_DEVICE=/dev/null\n", 2, 19200, "COM2 has no device: COM2_DEVICE is missing from config.txt."},
             Case{"COM1_DEVICE=/dev/null\n", 1, 38400, "COM1 (/dev/null) could not be opened: 38400 baud is not "
                  "one of 1200, 2400, 4800, 9600, 14400 and 19200."}}) {
        TempWorkDir dir(c.config);
        EXPECT_NE(LinkOpen(c.port, c.baud), 0);
        LinkClose();
        const std::string log = dir.ReadFile("eventLog.txt");
        EXPECT_EQ(log.find("{LinkOpen}"), log.rfind("{LinkOpen}")) << log;  // one entry
        EXPECT_NE(log.find("{LinkOpen}  \n\t\t\t" + std::string(c.message) + "  \n"), std::string::npos) << log;
    }
    // Root opens any device, and a port held elsewhere is checked below
    // through the message box's words, so these reasons are checked on their
    // texts alone.
    EXPECT_EQ(LinkOpenFailure("COM5", "/dev/ttyS0", EACCES),
              "COM5 (/dev/ttyS0) could not be opened: Permission denied. The user must be in the dialout group to "
              "use serial ports (sudo usermod -aG dialout $USER, then log in again).");
    EXPECT_EQ(LinkOpenFailure("COM1", "/dev/pts/3", EBUSY), "COM1 (/dev/pts/3) could not be opened: Device or "
              "resource busy. Another program holds the port; close it and try again.");
}

// The busy port's text, with the program holding it, is checked below on a
// port really held.
TEST(PortFailureText, EachReasonFromItsErrno)
{
    struct Case { const char* name; int error; const char* reason; };
    for (const Case& c : std::initializer_list<Case>{
        {"permission", EACCES, "Permission denied: your user may not use serial ports. Add it to the dialout group "
                               "with the command\n\n    sudo adduser ann dialout\n\nthen log out and log in again."},
        {"missing", ENOENT, "The device is missing: the adapter is unplugged, or COM1_DEVICE points elsewhere. "
                            "Plug the adapter in, or choose its device for COM1 in Setup Communications Port."},
        {"not serial", ENOTTY, "This is not a serial device. Choose the console's serial port for COM1 in Setup "
                               "Communications Port."},
    }) {
        const PortOpenFault fault{PortFault::System, 1, "/dev/ttyUSB0", 19200, c.error};
        EXPECT_EQ(PortFailureDetails(fault, "ann", ""), std::string("Device: /dev/ttyUSB0 (COM1)\n\n") + c.reason)
            << c.name;
    }
}

// Another program holds the pseudo-terminal through its own exclusive open.
TEST(PortFailureOpen, PtyHeldByAnotherProgramIsBusyAndNamed)
{
    int master = -1, slave = -1, ready[2], done[2];
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(pipe(ready) | pipe(done), 0);
    const std::string device = ttyname(slave);
    TempWorkDir dir(("COM1_DEVICE=" + device + "\n").c_str());
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_NAME, "minicom");
        TermiosLink other;
        char byte = other.Open(1, 19200) == 0 ? '1' : '0';
        _exit(write(ready[1], &byte, 1) == 1 && read(done[0], &byte, 1) >= 0 ? 0 : 1);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, '1');
    EXPECT_NE(LinkOpen(1, 19200), 0);
    EXPECT_EQ(LastPortFailureDetails(), "Device: " + device + " (COM1)\n\nThe port is busy: another program holds it "
                                        "(minicom (process " + std::to_string(child) + ")). Close that program and "
                                        "try again.");
    ASSERT_EQ(write(done[1], "x", 1), 1);
    waitpid(child, nullptr, 0);
    for (int fd : {ready[0], ready[1], done[0], done[1], master, slave}) close(fd);
}

}  // namespace
