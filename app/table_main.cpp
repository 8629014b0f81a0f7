#include "platform/files.h"
#include "table/tableapp.h"

#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#endif

int main(int argc, char* argv[])
{
#ifdef _WIN32
    // The tables are UTF-8; a console shows them right only in its UTF-8 code page, which is
    // given back as it was when the program ends.
    const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    // The same bytes as on any other system: text mode would turn the CSV's CR LF into CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
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
