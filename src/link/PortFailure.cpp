#include "link/PortFailure.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPortForm = "Setup Communications Port";

std::string ComName(int port)
{
    return "COM" + std::to_string(port);
}

bool IsPid(const std::string& name)
{
    return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

std::string Reason(const PortOpenFault& f, const std::string& userName, const std::string& holder)
{
    const std::string com = ComName(f.port);
    switch (f.error) {
    case EACCES:
    case EPERM:
        return "Permission denied: your user may not use serial ports. Add it to the dialout "
               "group with the command\n\n    sudo adduser " +
               userName + " dialout\n\nthen log out and log in again.";
    case EBUSY:
    case EWOULDBLOCK:
        return "The port is busy: another program holds it" +
               (holder.empty() ? std::string() : " (" + holder + ")") +
               ". Close that program and try again.";
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return "The device is missing: the adapter is unplugged, or " + com +
               "_DEVICE points elsewhere. Plug the adapter in, or choose its device for " + com +
               " in " + kPortForm + ".";
    case ENOTTY:
    case EISDIR:
    case EINVAL:
        return "This is not a serial device. Choose the console's serial port for " + com + " in " +
               kPortForm + ".";
    default:
        return std::string("The port could not be opened: ") + std::strerror(f.error) + ".";
    }
}

}  // namespace

std::string PortFailureDetails(const PortOpenFault& f, const std::string& userName,
                               const std::string& holder)
{
    const std::string com = ComName(f.port);
    switch (f.fault) {
    case PortFault::None:
        return {};
    case PortFault::NoSuchPort:
        return "Serial port " + std::to_string(f.port) + " is not one of COM1 to COM8. Choose the port in " +
               kPortForm + ".";
    case PortFault::NoDevice:
        return com + " has no device: " + com + "_DEVICE is missing from config.txt. Choose the device for " +
               com + " in " + kPortForm + ".";
    case PortFault::BadSpeed:
        return "Device: " + f.device + " (" + com + ")\n\n" + std::to_string(f.baud) +
               " baud is not one of 1200, 2400, 4800, 9600, 14400 and 19200. Choose the baud rate in " +
               kPortForm + ".";
    case PortFault::System:
        break;
    }
    return "Device: " + f.device + " (" + com + ")\n\n" + Reason(f, userName, holder);
}

std::string PortHolder(const std::string& device, const fs::path& procRoot)
{
    std::error_code ec;
    const fs::path target = fs::canonical(device, ec);
    if (ec) return {};
    const std::string self = std::to_string(::getpid());
    for (const fs::directory_entry& process : fs::directory_iterator(procRoot, ec)) {
        const std::string pid = process.path().filename().string();
        if (!IsPid(pid) || pid == self) continue;
        std::error_code fdError;
        for (const fs::directory_entry& fd : fs::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd.path(), linkError) != target) continue;
            std::ifstream comm(process.path() / "comm");
            std::string name;
            std::getline(comm, name);
            return (name.empty() ? std::string("a program") : name) + " (process " + pid + ")";
        }
    }
    return {};
}

std::string CurrentUserName()
{
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name && *pw->pw_name) return pw->pw_name;
    if (const char* user = std::getenv("USER"); user && *user) return user;
    return "$USER";
}

std::string LastPortFailureDetails()
{
    const PortOpenFault fault = LinkLastOpenFault();
    const bool busy = fault.fault == PortFault::System && (fault.error == EBUSY || fault.error == EWOULDBLOCK);
    return PortFailureDetails(fault, CurrentUserName(), busy ? PortHolder(fault.device) : std::string());
}
