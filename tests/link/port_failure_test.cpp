// Why the console's port would not open, in the words the message box
// shows: each reason from its errno, and the real opens that produce them.

#include "LinkTermios.h"
#include "PortFailure.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <pty.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ReasonCase {
    const char* name;
    PortOpenFault fault;
    const char* holder;
    const char* details;
};

class PortFailureText : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(PortFailureText, PlainWordsForEachReason)
{
    EXPECT_EQ(PortFailureDetails(GetParam().fault, "ann", GetParam().holder), GetParam().details);
}

const PortOpenFault kUsb{PortFault::System, 1, "/dev/ttyUSB0", 19200, 0};
PortOpenFault Errno(int error)
{
    PortOpenFault f = kUsb;
    f.error = error;
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Errno, PortFailureText,
    ::testing::Values(
        ReasonCase{"PermissionDenied", Errno(EACCES), "",
                   "Device: /dev/ttyUSB0 (COM1)\n\nPermission denied: your user may not use serial ports. "
                   "Add it to the dialout group with the command\n\n    sudo adduser ann dialout\n\nthen log "
                   "out and log in again."},
        ReasonCase{"BusyHolderKnown", Errno(EBUSY), "minicom (process 4242)",
                   "Device: /dev/ttyUSB0 (COM1)\n\nThe port is busy: another program holds it (minicom "
                   "(process 4242)). Close that program and try again."},
        ReasonCase{"BusyHolderUnknown", Errno(EBUSY), "",
                   "Device: /dev/ttyUSB0 (COM1)\n\nThe port is busy: another program holds it. Close that "
                   "program and try again."},
        ReasonCase{"Missing", Errno(ENOENT), "",
                   "Device: /dev/ttyUSB0 (COM1)\n\nThe device is missing: the adapter is unplugged, or "
                   "COM1_DEVICE points elsewhere. Plug the adapter in, or choose its device for COM1 in "
                   "Setup Communications Port."},
        ReasonCase{"NotASerialDevice", Errno(ENOTTY), "",
                   "Device: /dev/ttyUSB0 (COM1)\n\nThis is not a serial device. Choose the console's "
                   "serial port for COM1 in Setup Communications Port."},
        ReasonCase{"OtherSystemError", Errno(EIO), "",
                   "Device: /dev/ttyUSB0 (COM1)\n\nThe port could not be opened: Input/output error."},
        ReasonCase{"NoSuchComNumber", PortOpenFault{PortFault::NoSuchPort, 9, "", 19200, 0}, "",
                   "Serial port 9 is not one of COM1 to COM8. Choose the port in Setup Communications Port."},
        ReasonCase{"NoDeviceSet", PortOpenFault{PortFault::NoDevice, 3, "", 19200, 0}, "",
                   "COM3 has no device: COM3_DEVICE is missing from config.txt. Choose the device for COM3 "
                   "in Setup Communications Port."},
        ReasonCase{"SpeedNotOffered", PortOpenFault{PortFault::BadSpeed, 2, "/dev/ttyS0", 38400, 0}, "",
                   "Device: /dev/ttyS0 (COM2)\n\n38400 baud is not one of 1200, 2400, 4800, 9600, 14400 and "
                   "19200. Choose the baud rate in Setup Communications Port."},
        ReasonCase{"OpenedFine", PortOpenFault{}, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PortFailureText, SynonymErrnosReadAsTheirReason)
{
    EXPECT_EQ(PortFailureDetails(Errno(EPERM), "ann", ""), PortFailureDetails(Errno(EACCES), "ann", ""));
    EXPECT_EQ(PortFailureDetails(Errno(ENXIO), "ann", ""), PortFailureDetails(Errno(ENOENT), "ann", ""));
    EXPECT_EQ(PortFailureDetails(Errno(EWOULDBLOCK), "ann", ""), PortFailureDetails(Errno(EBUSY), "ann", ""));
}

TEST(PortFailureOpen, RealOpensGiveTheirReason)
{
    struct Case { const char* device; PortFault fault; int error; };
    TempWorkDir scratch;
    const std::string folder = scratch.Path().string();
    for (const Case& c : {Case{"/nonexistent/corvane-tty", PortFault::System, ENOENT},
                          Case{"/dev/null", PortFault::System, ENOTTY},
                          Case{folder.c_str(), PortFault::System, EISDIR}, Case{"", PortFault::NoDevice, 0}}) {
        TempWorkDir dir(c.device[0] ? ("COM2_DEVICE=" + std::string(c.device) + "\n").c_str() : "");
        EXPECT_NE(LinkOpen(2, 19200), 0) << c.device;
        const PortOpenFault f = LinkLastOpenFault();
        EXPECT_EQ(f.fault, c.fault) << c.device;
        EXPECT_EQ(f.error, c.error) << c.device;
        EXPECT_EQ(f.device, c.device);
        LinkClose();
    }
}

// Another program holds the pseudo-terminal with an exclusive open of its
// own: the port reads as busy, and /proc names that program.
TEST(PortFailureOpen, PtyHeldByAnotherProgramIsBusyAndNamed)
{
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string device = ttyname(slave);
    TempWorkDir dir(("COM1_DEVICE=" + device + "\n").c_str());
    int ready[2], done[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(done), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        prctl(PR_SET_NAME, "minicom");
        TermiosLink other;
        char byte = other.Open(1, 19200) == 0 ? '1' : '0';
        if (write(ready[1], &byte, 1) != 1 || read(done[0], &byte, 1) < 0) _exit(1);
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, '1');

    EXPECT_NE(LinkOpen(1, 19200), 0);
    EXPECT_EQ(LinkLastOpenFault().error, EBUSY);
    EXPECT_EQ(PortHolder(device), "minicom (process " + std::to_string(child) + ")");
    EXPECT_EQ(LastPortFailureDetails(), "Device: " + device + " (COM1)\n\nThe port is busy: another program holds "
                                        "it (minicom (process " + std::to_string(child) + ")). Close that program "
                                        "and try again.");

    ASSERT_EQ(write(done[1], "x", 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(LinkOpen(1, 19200), 0);
    EXPECT_EQ(LinkLastOpenFault().fault, PortFault::None);
    LinkClose();
    for (int fd : {ready[0], ready[1], done[0], done[1], master, slave}) close(fd);
}

}  // namespace
