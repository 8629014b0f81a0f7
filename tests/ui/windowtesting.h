#pragma once

#include "platform/launcher.h"
#include "ui/form1.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace vellmore::ui::testing {

// Records what the window asked the desktop to start instead of starting it.
struct RecordingLauncher : platform::Launcher
{
    bool editSettings(const QString& settingsPath) override
    {
        editorPaths.append(settingsPath);
        return editorStarts;
    }
    int openDocument(const QString& doc) override
    {
        documents.append(doc);
        return documentResult;
    }
    QStringList editorPaths;
    QStringList documents;
    bool editorStarts = true;
    int documentResult = 42;
};

inline const QStringList designResults = {"74.74X", "3736.84", "16.99", "0.07213 Sec", "13.86 Sec"};
inline const QStringList noResults = {"0", "0", "0", "0", "0"};

// A window on a temporary program directory, with its messages and launches recorded.
class WindowTest : public ::testing::Test
{
protected:
    QString dir() const { return m_dir.path(); }
    QString iniPath() const { return m_dir.filePath(QStringLiteral("Vellmore.ini")); }
    void writeIni(const QByteArray& bytes) const
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray readIni() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    Form1& open(const QString& programDir = {})
    {
        m_window = std::make_unique<Form1>(programDir.isEmpty() ? dir() : programDir, m_launcher,
                                           [this](const QString& m) { messages.append(m); });
        return *m_window;
    }
    Form1& openShown()
    {
        open().show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        return *m_window;
    }

    template <typename T>
    T* control(const char* name) const
    {
        T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString text(const char* name) const
    {
        return control<QWidget>(name)->property("text").toString();
    }
    QStringList results() const
    {
        return {text("lblTelescopeMag"), text("lblSystemFL"), text("lblFRatio"),
                text("lblExposure"), text("lblOneDiv")};
    }
    QStringList entries() const
    {
        QStringList list;
        for (int i = 0; i < control<QComboBox>("Combo1")->count(); ++i)
            list.append(control<QComboBox>("Combo1")->itemText(i));
        return list;
    }

    // Replaces a text box's contents as a user would: focus, select all, type.
    void type(const char* name, const QString& value)
    {
        auto* edit = control<QLineEdit>(name);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, value);
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

    // Picks a list entry the way a user does: open the list and click the entry.
    void pick(int row)
    {
        auto* combo = control<QComboBox>("Combo1");
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QTemporaryDir m_dir;
    std::shared_ptr<RecordingLauncher> m_launcher = std::make_shared<RecordingLauncher>();
    std::unique_ptr<Form1> m_window;
    QStringList messages;
};

} // namespace vellmore::ui::testing
