// Renders the Vellmore window, as it opens on a first start, to a PNG file.
#include "qt/form1.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vellmore-screenshot OUTPUT.png\n", stderr);
        return 2;
    }
    QTemporaryDir programDir;
    vellmore::qt::Form1 window(programDir.path());
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "vellmore-screenshot: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
