// corvane-sim on a real pty, reached with plain reads and writes: the
// executable's life from "ready" to SIGTERM with its state file and
// transcript, and reopening by an ordinary user after an exclusive open.

#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <regex>
#include <sstream>
#include <utility>

namespace {

// Opens the device raw, sends `send`, reads up to `size` bytes (each within
// a bound a passing test never waits for) and closes it. The count read, or
// -1 when the open failed. Only async-signal-safe calls: a forked child of
// this threaded process uses it too.
int Exchange(const char* path, const char* send, char* reply, int size, bool exclusive = false)
{
    const int fd = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    if (termios tio{}; ::tcgetattr(fd, &tio) == 0) ::cfmakeraw(&tio), ::tcsetattr(fd, TCSANOW, &tio);
    if (exclusive) ::ioctl(fd, TIOCEXCL);
    int got = 0;
    const auto length = static_cast<ssize_t>(std::strlen(send));
    pollfd p{fd, POLLIN, 0};
    if (::write(fd, send, length) == length)
        for (ssize_t n = 0; got < size && ::poll(&p, 1, 5000) > 0 && (n = ::read(fd, reply + got, size - got)) > 0;)
            got += static_cast<int>(n);
    ::close(fd);
    return got;
}

std::string Exchange(const std::string& path, const char* send, int size)
{
    char reply[256];
    const int got = Exchange(path.c_str(), send, reply, size);
    return got < 0 ? "<cannot open " + path + ">" : std::string(reply, static_cast<std::size_t>(got));
}

TEST(SimPty, AnOrdinaryUserReopensAfterAnExclusiveOpen)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    SimFixture sim(SimKind::Aom);
    const std::string path = sim.SlavePath();
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(77);
        for (int round = 0; round < 3; ++round) {
            // The simulator lifts the lock when it sees the close; allow it a
            // moment (the program itself waits 2 s between its opens).
            char reply[2];
            int got = -1;
            for (int tries = 0; got < 0 && tries < 500; ++tries)
                if ((got = Exchange(path.c_str(), "\n", reply, 2, true)) < 0) ::poll(nullptr, 0, 10);
            if (got != 2 || reply[0] != '\n' || reply[1] != '\r') ::_exit(10 + round);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot change to another user here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

#ifdef CORVANE_SIM_EXE

// corvane-sim as its own process, its standard output and error merged.
struct SimProcess {
    explicit SimProcess(const std::string& args)
        : out_(::popen(("echo $$; exec " CORVANE_SIM_EXE " " + args + " 2>&1").c_str(), "r")),
          pid_(out_ ? std::atoi(ReadLine().c_str()) : -1) {}
    ~SimProcess()
    {
        if (pid_ > 0) ::kill(pid_, SIGKILL);
        if (out_) ::pclose(out_);
    }
    // One line it printed; bounded, so a silent start fails instead of hanging.
    std::string ReadLine()
    {
        std::string line;
        char c = 0;
        pollfd p{::fileno(out_), POLLIN, 0};
        while (c != '\n' && ::poll(&p, 1, 10000) > 0 && ::read(p.fd, &c, 1) == 1) line += c;
        return line;
    }
    // SIGTERM, then its exit status.
    int Stop()
    {
        ::kill(std::exchange(pid_, -1), SIGTERM);
        for (std::string last = ReadLine(); !last.empty(); last = ReadLine()) {}  // read to its end
        const int status = ::pclose(std::exchange(out_, nullptr));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::FILE* out_;
    pid_t pid_;
};

TEST(SimMain, SigtermRemovesTheLinkAndTheStateAndTranscriptOutliveARestart)
{
    TempWorkDir dir;
    const std::string options = "--kind irr --link ttyCOM1 --state state.txt --transcript transcript.txt --wake-delay-ms 0";
    {
        // The fault as the command line selects it: module replies end with LF alone.
        SimProcess sim(options + " --firmware 201 --fault lf-without-cr");
        ASSERT_EQ(sim.ReadLine(), "ready ttyCOM1\n");
        EXPECT_EQ(Exchange("ttyCOM1", "\nMOD00\nMOD08 7\nMOD11 2 1\n", 20), "\n\rIRR     201\nOK\nOK\n");
        EXPECT_EQ(sim.Stop(), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status("ttyCOM1")));
    const std::string state = dir.ReadFile("state.txt");
    EXPECT_NE(state.find("\nparam.8=7\n"), std::string::npos) << state;
    EXPECT_NE(state.find("\nswitch.2=1\n"), std::string::npos) << state;
    const std::string transcript = dir.ReadFile("transcript.txt");
    for (const char* bytes : {" > \\n", " < IRR     201\\n", "MOD11 2 1\\n", " - stopped\n"})
        EXPECT_NE(transcript.find(bytes), std::string::npos) << bytes;
    std::istringstream lines(transcript);
    for (std::string line; std::getline(lines, line);)
        EXPECT_TRUE(std::regex_search(line, std::regex(R"(^\d\d:\d\d:\d\d\.\d{3} )"))) << line;

    // Restarted, it answers from the state.
    SimProcess sim(options);
    ASSERT_EQ(sim.ReadLine(), "ready ttyCOM1\n");
    EXPECT_EQ(Exchange("ttyCOM1", "\nMOD00\nMOD08 |\nMOD11 2 |\n", 21), "\n\rIRR     202\n\r7\n\r1\n\r");
    EXPECT_EQ(sim.Stop(), 0);
}

#endif

}  // namespace
