// Line speeds through termios2, which takes the rate in bits per second:
// the console's 14400 has no B-constant on Linux, so it is set as a custom
// rate (BOTHER). Kept apart because <asm/termbits.h> clashes with <termios.h>.

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

int SetTtySpeed(int fd, int baud)
{
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) return errno;
    tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = static_cast<speed_t>(baud);
    tio.c_ospeed = static_cast<speed_t>(baud);
    if (ioctl(fd, TCSETS2, &tio) != 0) return errno;
    return 0;
}

int ReadTtySpeed(int fd)
{
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) return -1;
    return static_cast<int>(tio.c_ospeed);
}
