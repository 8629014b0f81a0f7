#include "platform/files.h"
#include "table/tableapp.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return vellmore::table::runTable(args, vellmore::platform::executableDirectory(argv[0]),
                                     std::cout, std::cerr);
}
