#include "qt/desktoplauncher.h"

#include "platform/shellcommands.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace vellmore::qt {
namespace {

// ShellExecute's "file not found" and a plain success value, for the stand-in off Windows.
constexpr int shellFileNotFound = 2;
constexpr int shellSuccess = 42;

class QtDesktopLauncher final : public platform::Launcher
{
public:
    bool editSettings(const std::string& settingsPath) override
    {
        const QUrl url(QString::fromLatin1(platform::fileUrl(settingsPath)), QUrl::StrictMode);
        return url.isValid() && QDesktopServices::openUrl(url);
    }

    int openDocument(const std::string& doc) override
    {
        const QUrl url = QUrl::fromUserInput(QString::fromUtf8(doc.data(), qsizetype(doc.size())));
        return QDesktopServices::openUrl(url) ? shellSuccess : shellFileNotFound;
    }
};

} // namespace

std::shared_ptr<platform::Launcher> desktopLauncher()
{
    return std::make_shared<QtDesktopLauncher>();
}

} // namespace vellmore::qt
