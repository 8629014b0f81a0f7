#include "platform/launcher.h"

#include "platform/shellcommands.h"

#include <QDesktopServices>
#include <QUrl>

namespace vellmore::platform {
namespace {

// ShellExecute's "file not found" and a plain success value, for the non-Windows stand-in.
constexpr int shellFileNotFound = 2;
constexpr int shellSuccess = 42;

class DesktopLauncher final : public Launcher
{
public:
    bool editSettings(const QString& settingsPath) override
    {
#ifdef _WIN32
        return startProgram(editorCommandLine(settingsPath.toLocal8Bit().toStdString()), 1);
#else
        return QDesktopServices::openUrl(QUrl::fromLocalFile(settingsPath));
#endif
    }

    int openDocument(const QString& doc) override
    {
#ifdef _WIN32
        return shellOpen(doc.toLocal8Bit().toStdString());
#else
        const QUrl url = QUrl::fromUserInput(doc);
        return QDesktopServices::openUrl(url) ? shellSuccess : shellFileNotFound;
#endif
    }
};

} // namespace

std::shared_ptr<Launcher> desktopLauncher()
{
    return std::make_shared<DesktopLauncher>();
}

} // namespace vellmore::platform
