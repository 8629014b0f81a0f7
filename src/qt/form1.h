#pragma once

#include "form/form1logic.h"
#include "form/view.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

namespace vellmore::platform {
class Launcher;
}

namespace vellmore::qt {

// The calculator window drawn with Qt Widgets: builds the 29 controls from the layout table,
// each with its name in the layout table as object name, and forwards their events to the shared
// handlers.
class Form1 : public QWidget, private form::View
{
    Q_OBJECT

public:
    // Shows a run-time error to the user.
    using ErrorReporter = std::function<void(const QString& message)>;

    explicit Form1(const QString& programDir, QWidget* parent = nullptr);
    // For a window whose desktop is not the real one: a launcher that records what it was asked
    // to start, a reporter that keeps messages instead of showing them.
    Form1(const QString& programDir, std::shared_ptr<platform::Launcher> launcher,
          ErrorReporter reporter, QWidget* parent = nullptr);
    ~Form1() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string text(form::Control control) const override;
    void setText(form::Control control, const std::string& text) override;
    void clearSelector() override;
    void appendEntries(const std::vector<std::string>& entries) override;
    int selectedIndex() const override;
    void setSelectedIndex(int index) override;
    void showMessage(const std::string& message) override;

    void createControls();
    void connectHandlers();
    void nameResult(form::Control id);
    template <typename T>
    T* control(form::Control id) const;

    ErrorReporter m_reporter;
    std::array<QWidget*, form::controlCount> m_controls{};
    form::Form1Logic m_logic;
    bool m_painted = false;
};

} // namespace vellmore::qt
