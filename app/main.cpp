#include "qt/form1.h"
#include "version.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

namespace {

// Without a display Qt aborts with a long plugin report; one line says what is missing.
bool displayAvailable()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    if (!displayAvailable()) {
        std::fputs("vellmore: no display to open the window on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set).\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellmore"));
    QApplication::setApplicationVersion(QStringLiteral(VELLMORE_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vellmore/icon.png")));

    vellmore::qt::Form1 window(QApplication::applicationDirPath());
    window.show();
    return QApplication::exec();
}
