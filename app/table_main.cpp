#include "platform/files.h"
#include "table/tableapp.h"

#include <iostream>

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char* argv[])
{
#ifdef _WIN32
    // The tables are UTF-8; a console shows them right only in its UTF-8 code page, which is
    // given back as it was when the program ends.
    const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
#endif
    const int status = vellmore::table::runTable(vellmore::platform::programArguments(argc, argv),
                                                 vellmore::platform::executableDirectory(argv[0]),
                                                 std::cout, std::cerr);
#ifdef _WIN32
    std::cout.flush();
    if (consoleCodePage != 0)
        SetConsoleOutputCP(consoleCodePage);
#endif
    return status;
}
