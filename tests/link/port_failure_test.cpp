// Why the console's port would not open, in the words the message box
// shows: each reason from its errno, and a pseudo-terminal another program
// holds.

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

TEST(PortFailureText, EachReasonFromItsErrno)
{
    struct Case { const char* name; int error; const char* holder; const char* reason; };
    const Case cases[] = {
        {"permission", EACCES, "", "Permission denied: your user may not use serial ports. Add it to the dialout "
                                   "group with the command\n\n    sudo adduser ann dialout\n\nthen log out and log in again."},
        {"busy", EBUSY, "minicom (process 42)", "The port is busy: another program holds it (minicom (process 42)). "
                                                "Close that program and try again."},
        {"missing", ENOENT, "", "The device is missing: the adapter is unplugged, or COM1_DEVICE points elsewhere. "
                                "Plug the adapter in, or choose its device for COM1 in Setup Communications Port."},
        {"not serial", ENOTTY, "", "This is not a serial device. Choose the console's serial port for COM1 in Setup "
                                   "Communications Port."},
    };
    for (const Case& c : cases) {
        const PortOpenFault fault{PortFault::System, 1, "/dev/ttyUSB0", 19200, c.error};
        EXPECT_EQ(PortFailureDetails(fault, "ann", c.holder), std::string("Device: /dev/ttyUSB0 (COM1)\n\n") + c.reason)
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
