// The corvane-sim executable: its ready line, its answers, and a clean end
// on SIGTERM that removes the link and leaves the state and transcript.

#include "SimRawPort.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

#ifdef CORVANE_SIM_EXE

struct SimProcess {
    pid_t pid = -1;
    int out = -1;  // the child's standard output

    explicit SimProcess(const std::vector<std::string>& args)
    {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) return;
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(CORVANE_SIM_EXE));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid = ::fork();
        if (pid == 0) {
            ::dup2(pipeFds[1], STDOUT_FILENO);
            ::dup2(pipeFds[1], STDERR_FILENO);
            ::close(pipeFds[0]);
            ::execv(CORVANE_SIM_EXE, argv.data());
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        out = pipeFds[0];
    }
    ~SimProcess()
    {
        if (pid > 0 && !exited) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (out >= 0) ::close(out);
    }

    // Everything printed until a line feed (or the end), bounded.
    std::string ReadLine()
    {
        std::string line;
        char c;
        while (line.empty() || line.back() != '\n') {
            pollfd p{out, POLLIN, 0};
            if (::poll(&p, 1, 10000) <= 0 || ::read(out, &c, 1) != 1) break;
            line += c;
        }
        return line;
    }
    std::string ReadAll()
    {
        std::string text;
        for (std::string line = ReadLine(); !line.empty(); line = ReadLine()) text += line;
        return text;
    }
    int Wait()
    {
        int status = 0;
        ::waitpid(pid, &status, 0);
        exited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    bool exited = false;
};

std::string Slurp(const fs::path& file)
{
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(SimMain, ServesUntilSigtermThenRemovesTheLink)
{
    const fs::path dir = fs::temp_directory_path() / ("corvane-sim-main-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string link = (dir / "ttyCOM1").string();
    SimProcess sim({"--kind", "irr", "--firmware", "201", "--link", link, "--state", (dir / "state.txt").string(),
             "--transcript", (dir / "transcript.txt").string(), "--wake-delay-ms", "0"});
    ASSERT_EQ(sim.ReadLine(), "ready " + link + "\n");
    {
        RawPort port(link);
        ASSERT_TRUE(port.IsOpen());
        ASSERT_TRUE(port.Write("\nMOD00\nMOD08 7\n"));
        EXPECT_EQ(port.Read(19), "\n\rIRR     201\n\rOK\n\r");
    }
    ASSERT_EQ(::kill(sim.pid, SIGTERM), 0);
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_NE(Slurp(dir / "state.txt").find("\nparam.8=7\n"), std::string::npos);
    const std::string transcript = Slurp(dir / "transcript.txt");
    EXPECT_NE(transcript.find("MOD08 7\\n"), std::string::npos);
    EXPECT_NE(transcript.find(" < OK\\n\\r\n"), std::string::npos);
    fs::remove_all(dir);
}

TEST(SimMain, HelpAndBadOptions)
{
    SimProcess help({"--help"});
    const std::string usage = help.ReadAll();
    EXPECT_EQ(help.Wait(), 0);
    EXPECT_EQ(usage.rfind("Usage: corvane-sim --kind aloha|aprs|irr|aom|none --link PATH", 0), 0u);

    SimProcess bad({"--kind", "aom"});
    EXPECT_EQ(bad.ReadLine(), "corvane-sim: --link is required\n");
    EXPECT_EQ(bad.Wait(), 2);
}

#endif

}  // namespace
