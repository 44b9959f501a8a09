// corvane-cli: the terminal twin of the forms.
#include "cli/CorvaneCli.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv)
{
    // Numbers in text follow the "C" rules whatever the user's locale.
    std::setlocale(LC_ALL, "C");
    return RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
