#pragma once

#include "settings/objecttable.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vellmore::platform {
class Launcher;
}

namespace vellmore::ui {

class ClickableLabel;

// The calculator window: six inputs, five results, the object selector and three commands.
// Every control carries its design name as its object name.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    // Shows a run-time error to the user.
    using ErrorReporter = std::function<void(const QString& message)>;

    // The address that Label14 shows and opens.
    static const QString referenceAddress;

    explicit Form1(const QString& programDir, QWidget* parent = nullptr);
    // For a window whose desktop is not the real one: a launcher that records what it was asked
    // to start, a reporter that keeps messages instead of showing them.
    Form1(const QString& programDir, std::shared_ptr<platform::Launcher> launcher,
          ErrorReporter reporter, QWidget* parent = nullptr);
    ~Form1() override;

    // Opens a document or web address with the desktop's handler; above 32 on success.
    int StartDoc(QString& DocName);

    const settings::ObjectTable& objectTable() const { return m_objects; }
    QString settingsPath() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string localSettingsPath() const;
    void createControls();
    void connectHandlers();

    bool ComputeExposure();
    bool LoadSettings();
    void applyLoadedSettings(const settings::LoadResult& content);

    void onCalculateClicked();
    void onReloadClicked();
    void onEditSettingsClicked();
    void onObjectPicked(int index);
    void onObjectTextEdited(const QString& text);
    void onReferenceClicked();
    void copyObjectK(int index);

    void reportError(const QString& message);
    void showMessageBox(const QString& message);

    QString m_programDir;
    std::shared_ptr<platform::Launcher> m_launcher;
    ErrorReporter m_reporter;
    QStringList m_pendingMessages; // reported before the window was first shown
    settings::ObjectTable m_objects;

    QLineEdit* txtTelescopeFL = nullptr;
    QLineEdit* txtEyepieceFL = nullptr;
    QLineEdit* txtCameraFL = nullptr;
    QLineEdit* txtTelescopeAp = nullptr;
    QLineEdit* txtK = nullptr;
    QLineEdit* txtISO = nullptr;
    QLabel* lblTelescopeMag = nullptr;
    QLabel* lblSystemFL = nullptr;
    QLabel* lblFRatio = nullptr;
    QLabel* lblExposure = nullptr;
    QLabel* lblOneDiv = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QComboBox* Combo1 = nullptr;
    ClickableLabel* Label14 = nullptr;
};

} // namespace vellmore::ui
