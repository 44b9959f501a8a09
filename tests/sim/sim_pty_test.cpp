// corvane-sim on a real pty, reached with plain reads and writes.

#include "Crc16.h"
#include "SimFixture.h"
#include "SimRawPort.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A transcript line "HH:MM:SS.mmm " followed by rest.
bool HasStampedLine(const std::string& transcript, const std::string& rest)
{
    std::istringstream lines(transcript);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() != 13 + rest.size() || line.compare(13, std::string::npos, rest) != 0) continue;
        bool stamp = true;
        for (int i = 0; i < 13; ++i) {
            const char want = i == 2 || i == 5 ? ':' : i == 8 ? '.' : i == 12 ? ' ' : '9';
            stamp = stamp && (want == '9' ? (line[i] >= '0' && line[i] <= '9') : line[i] == want);
        }
        if (stamp) return true;
    }
    return false;
}

std::string Block(const std::string& data)
{
    const auto crc = Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    return data + static_cast<char>(crc >> 8) + static_cast<char>(crc & 0xFF);
}

TEST(SimPty, AnswersOverThePty)
{
    SimFixture sim(SimKind::Aom);
    RawPort port(sim.DevicePath());
    ASSERT_TRUE(port.IsOpen());
    ASSERT_TRUE(port.Write("\n"));
    EXPECT_EQ(port.Read(2), "\n\r");
    ASSERT_TRUE(port.Write("MOD00\n"));
    EXPECT_EQ(port.Read(13), "AOM     100\n\r");
    ASSERT_TRUE(port.Write("VER\n"));
    EXPECT_EQ(port.Read(19), "\n\rOK\n\rSep 29 2009\n\r");
    ASSERT_TRUE(port.Write("EEBRD 19 2\n"));
    EXPECT_EQ(port.Read(5), "\x06" + Block(std::string("\x00\xFF", 2)));
    EXPECT_EQ(sim.Lines(), (std::vector<std::string>{"\n", "MOD00\n", "VER\n", "EEBRD 19 2\n"}));
    EXPECT_EQ(sim.ModuleLines(), (std::vector<std::string>{"MOD00\n"}));
}

TEST(SimPty, ClientsCloseAndReopenAnyNumberOfTimes)
{
    SimFixture sim(SimKind::Aloha);
    for (int i = 0; i < 25; ++i) {
        RawPort port(sim.DevicePath());
        ASSERT_TRUE(port.IsOpen()) << i;
        ASSERT_TRUE(port.Write("\nMOD02 |\n"));
        ASSERT_EQ(port.Read(5), "\n\r1\n\r") << i;
    }
    EXPECT_EQ(sim.ModuleLines().size(), 25u);
}

TEST(SimPty, AnOrdinaryUserReopensAfterAnExclusiveOpen)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    SimFixture sim(SimKind::Aom);
    const std::string path = sim.SlavePath();
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(77);
        for (int round = 0; round < 3; ++round) {
            int fd = -1;
            // The simulator lifts the lock when it sees the close; allow it
            // a moment (the program itself waits 2 s between its opens).
            for (int tries = 0; tries < 500 && fd < 0; ++tries) {
                fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
                if (fd < 0) ::poll(nullptr, 0, 10);
            }
            if (fd < 0) ::_exit(10 + round);
            ::ioctl(fd, TIOCEXCL);
            if (::write(fd, "\n", 1) != 1) ::_exit(20 + round);
            char reply[2];
            std::size_t got = 0;
            while (got < 2) {
                pollfd p{fd, POLLIN, 0};
                if (::poll(&p, 1, 5000) <= 0) ::_exit(30 + round);
                ssize_t n = ::read(fd, reply + got, 2 - got);
                if (n <= 0) ::_exit(40 + round);
                got += static_cast<std::size_t>(n);
            }
            if (reply[0] != '\n' || reply[1] != '\r') ::_exit(50 + round);
            ::close(fd);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot change to another user here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SimPty, StateFileSurvivesARestart)
{
    const fs::path dir = fs::temp_directory_path() / ("corvane-sim-state-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    SimOptions o = SimFixture::Options(SimKind::Irr);
    o.stateFile = (dir / "state.txt").string();
    {
        SimFixture sim(o);
        RawPort port(sim.DevicePath());
        ASSERT_TRUE(port.Write("\nMOD01 120\nMOD11 2 1\n"));
        EXPECT_EQ(port.Read(10), "\n\rOK\n\rOK\n\r");
    }
    {
        std::ifstream in(o.stateFile);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_NE(text.str().find("\nparam.1=120\n"), std::string::npos);
        EXPECT_NE(text.str().find("\nswitch.2=1\n"), std::string::npos);
    }
    {
        SimFixture sim(o);
        EXPECT_EQ(sim.Param(1), "120");
        EXPECT_EQ(sim.Switch(2), 1);
        RawPort port(sim.DevicePath());
        ASSERT_TRUE(port.Write("\nMOD01 |\nMOD11 2 |\n"));
        EXPECT_EQ(port.Read(10), "\n\r120\n\r1\n\r");
    }
    // A damaged line is skipped with a warning; the rest still loads.
    std::ofstream(o.stateFile, std::ios::app) << "param.x=1\n";
    CorvaneSim again(o);
    again.Start();
    EXPECT_EQ(again.Param(1), "120");
    ASSERT_EQ(again.Warnings().size(), 1u);
    EXPECT_NE(again.Warnings()[0].find("param.x=1"), std::string::npos);
    again.Stop();
    fs::remove_all(dir);
}

TEST(SimPty, TranscriptRecordsEveryByteBothWaysWithTimeStamps)
{
    const fs::path file = fs::temp_directory_path() / ("corvane-sim-transcript-" + std::to_string(::getpid()));
    fs::remove(file);
    SimOptions o = SimFixture::Options(SimKind::Aom);
    o.transcriptFile = file.string();
    {
        SimFixture sim(o);
        RawPort port(sim.DevicePath());
        ASSERT_TRUE(port.Write("\n"));
        ASSERT_EQ(port.Read(2), "\n\r");
        ASSERT_TRUE(port.Write("EEBRD 19 1\n"));
        ASSERT_EQ(port.Read(4).size(), 4u);
        const std::string memory = sim.Transcript();
        EXPECT_TRUE(HasStampedLine(memory, "> \\n"));
        EXPECT_TRUE(HasStampedLine(memory, "< \\n\\r"));
        EXPECT_TRUE(HasStampedLine(memory, "> EEBRD 19 1\\n"));
        EXPECT_NE(memory.find(" < \\x06\\x00\\x00\\x00\n"), std::string::npos);
    }
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find(" > EEBRD 19 1\\n\n"), std::string::npos);
    EXPECT_NE(text.str().find(" - stopped\n"), std::string::npos);
    fs::remove(file);
}

TEST(SimPty, HangupEndsTheConnectionAndTheLinkLeadsToAFreshDevice)
{
    SimFixture sim(SimKind::Aom);
    const std::string before = sim.SlavePath();
    sim.SetFault(SimFault::Hangup, 3);
    RawPort port(sim.DevicePath());
    ASSERT_TRUE(port.Write("MOD00\n"));
    EXPECT_EQ(port.Read(1), "");
    EXPECT_TRUE(port.HungUp());
    EXPECT_FALSE(port.Write("\n"));
    EXPECT_EQ(sim->Hangups(), 1);
    EXPECT_NE(sim.SlavePath(), before);

    RawPort again(sim.DevicePath());
    ASSERT_TRUE(again.Write("\nMOD00\n"));
    EXPECT_EQ(again.Read(15), "\n\rAOM     100\n\r");
}

TEST(SimPty, RepliesNeverOvertakeEachOther)
{
    SimFixture sim(SimKind::Aom);
    sim.SetFault(SimFault::SlowReplies, 50);
    RawPort port(sim.DevicePath());
    ASSERT_TRUE(port.Write("\nMOD01 |\n\n"));
    EXPECT_EQ(port.Read(8), "\n\r60\n\r\n\r");
}

TEST(SimPty, BabbleGoesOnUntilTheClientSendsSomething)
{
    SimFixture sim(SimKind::Aom);
    sim.SetFault(SimFault::Babble);
    RawPort port(sim.DevicePath());
    ASSERT_TRUE(port.Write("\nMOD01 |\n"));
    EXPECT_EQ(port.Read(2), "\n\r");
    const std::string babble = port.Read(5000);
    EXPECT_EQ(babble.size(), 5000u);
    EXPECT_EQ(babble.find_first_of("\n\r\xFF"), std::string::npos);
    // A line feed stops it; after what was already under way comes the answer.
    ASSERT_TRUE(port.Write("\n"));
    const std::string rest = port.ReadUntil("\n\r");
    EXPECT_EQ(rest.substr(rest.size() - 2), "\n\r");
    sim.ClearFaults();
    ASSERT_TRUE(port.Write("MOD01 |\n"));
    EXPECT_EQ(port.Read(4), "60\n\r");
}

TEST(SimPty, ARegularFileIsNeverReplacedByTheLink)
{
    const fs::path file = fs::temp_directory_path() / ("corvane-sim-file-" + std::to_string(::getpid()));
    std::ofstream(file) << "keep";
    SimOptions o = SimFixture::Options(SimKind::Aom);
    o.linkPath = file.string();
    CorvaneSim sim(o);
    EXPECT_THROW(sim.Start(), std::runtime_error);
    EXPECT_FALSE(sim.Running());
    std::ifstream in(file);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "keep");
    fs::remove(file);
}

TEST(SimPty, StopRemovesTheLink)
{
    const fs::path link = fs::temp_directory_path() / ("corvane-sim-link-" + std::to_string(::getpid()));
    SimOptions o = SimFixture::Options(SimKind::Aom);
    o.linkPath = link.string();
    CorvaneSim sim(o);
    EXPECT_EQ(sim.Start(), link.string());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), sim.SlavePath());
    sim.Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimPty, StateAndLinesCanBeReadWhileTheDeviceWorks)
{
    SimFixture sim(SimKind::Aom);
    std::thread client([&] {
        RawPort port(sim.DevicePath());
        port.Write("\n");
        port.Read(2);
        for (int i = 0; i < 20; ++i) {
            port.Write("MOD11 " + std::to_string(i % 4) + " " + std::to_string(i % 2) + "\n");
            port.Read(4);
        }
    });
    ASSERT_TRUE(sim.WaitForModuleLines(20));
    for (int i = 0; i < 4; ++i) (void)sim.Switch(i);
    client.join();
    EXPECT_EQ(sim.ModuleLines().size(), 20u);
    EXPECT_FALSE(sim.WaitForLine("never\n", 0ms));
}

}  // namespace
