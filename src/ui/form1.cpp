#include "ui/form1.h"

#include "calc/exposure.h"
#include "calc/faultmessage.h"
#include "platform/launcher.h"
#include "platform/numberformat.h"
#include "settings/settingsfile.h"
#include "settings/store.h"
#include "ui/clickablelabel.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace vellmore::ui {
namespace {

// Text crosses between the window and the core as local 8-bit bytes.
std::string toLocal(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

QString fromLocal(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

const QString Form1::referenceAddress =
    QStringLiteral("https://en.wikipedia.org/wiki/Afocal_photography");

Form1::Form1(const QString& programDir, QWidget* parent)
    : Form1(programDir, platform::desktopLauncher(), ErrorReporter{}, parent)
{}

Form1::Form1(const QString& programDir, std::shared_ptr<platform::Launcher> launcher,
             ErrorReporter reporter, QWidget* parent)
    : QWidget(parent), m_programDir(programDir), m_launcher(std::move(launcher)),
      m_reporter(std::move(reporter))
{
    createControls();
    connectHandlers();

    // Twice: on a first start the first load only writes the default file, the second reads it.
    // An error ends the sequence where it happened.
    if (LoadSettings() && LoadSettings())
        ComputeExposure();
}

Form1::~Form1() = default;

std::string Form1::localSettingsPath() const
{
    return settings::settingsPath(QFile::encodeName(m_programDir).toStdString());
}

QString Form1::settingsPath() const
{
    return QFile::decodeName(QByteArray::fromStdString(localSettingsPath()));
}

void Form1::connectHandlers()
{
    connect(Command1, &QPushButton::clicked, this, &Form1::onCalculateClicked);
    connect(Command2, &QPushButton::clicked, this, &Form1::onReloadClicked);
    connect(Command3, &QPushButton::clicked, this, &Form1::onEditSettingsClicked);
    connect(Combo1, &QComboBox::activated, this, &Form1::onObjectPicked);
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, &Form1::onObjectTextEdited);
    connect(Label14, &ClickableLabel::clicked, this, &Form1::onReferenceClicked);
}

bool Form1::ComputeExposure()
{
    const std::array<std::string, calc::inputCount> fields = {
        toLocal(txtTelescopeFL->text()), toLocal(txtEyepieceFL->text()),
        toLocal(txtCameraFL->text()),    toLocal(txtTelescopeAp->text()),
        toLocal(txtK->text()),           toLocal(txtISO->text()),
    };
    const calc::Calculation result = calc::computeExposure(fields);

    QLabel* const labels[] = {lblTelescopeMag, lblSystemFL, lblFRatio, lblExposure, lblOneDiv};
    for (const calc::Published& published : result.published)
        labels[static_cast<int>(published.label)]->setText(fromLocal(published.text));

    if (result.fault) {
        reportError(fromLocal(calc::describeFault(*result.fault, result.figures)));
        return false;
    }
    return true;
}

bool Form1::LoadSettings()
{
    const settings::LoadOutcome outcome = settings::loadSettingsFile(localSettingsPath());
    if (outcome.read && !outcome.content.refused())
        applyLoadedSettings(outcome.content);

    const std::string message = settings::describeOutcome(outcome);
    if (message.empty())
        return true;
    reportError(fromLocal(message));
    return false;
}

void Form1::applyLoadedSettings(const settings::LoadResult& content)
{
    Combo1->clear();
    QLineEdit* const fields[] = {txtTelescopeFL, txtEyepieceFL, txtCameraFL,
                                 txtTelescopeAp, txtK,          txtISO};
    for (const settings::Assignment& assignment : content.assignments)
        fields[static_cast<int>(assignment.field)]->setText(fromLocal(assignment.value));

    m_objects.load(content.objects);
    QStringList entries;
    entries.reserve(m_objects.count);
    for (int i = 0; i < m_objects.count; ++i)
        entries.append(fromLocal(settings::listEntryText(content.objects[static_cast<size_t>(i)])));
    Combo1->addItems(entries);
    // Adding the first entry selects it, and clear() leaves the text part alone unless an entry
    // was selected: after a load no entry is selected and the text part is empty.
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
}

void Form1::onCalculateClicked()
{
    ComputeExposure();
}

void Form1::onReloadClicked()
{
    LoadSettings();
}

void Form1::onEditSettingsClicked()
{
    const QString path = settingsPath();
    if (!m_launcher->editSettings(path)) {
        reportError(tr("Could not start a text editor for the settings file %1. Open it with "
                       "any text editor, then click \"ReLoad Settings\".")
                        .arg(path));
    }
}

void Form1::onObjectPicked(int index)
{
    copyObjectK(index);
}

void Form1::onObjectTextEdited(const QString& text)
{
    // Typing that does not name an entry exactly is just typing.
    const int index = Combo1->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return;
    Combo1->setCurrentIndex(index);
    copyObjectK(index);
}

void Form1::copyObjectK(int index)
{
    if (!m_objects.holds(index)) {
        reportError(tr("No object is selected."));
        return;
    }
    txtK->setText(
        fromLocal(platform::formatGeneral(m_objects.ObjectK[static_cast<size_t>(index)])));
}

void Form1::onReferenceClicked()
{
    QString doc = referenceAddress;
    StartDoc(doc);
}

int Form1::StartDoc(QString& DocName)
{
    const int result = m_launcher->openDocument(DocName);
    // The text goes out in the local 8-bit encoding and comes back through it.
    DocName = QString::fromLocal8Bit(DocName.toLocal8Bit());
    return result;
}

void Form1::reportError(const QString& message)
{
    if (m_reporter) {
        m_reporter(message);
        return;
    }
    if (!isVisible()) {
        m_pendingMessages.append(message);
        return;
    }
    showMessageBox(message);
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    const QStringList pending = std::exchange(m_pendingMessages, {});
    for (const QString& message : pending)
        showMessageBox(message);
}

void Form1::showMessageBox(const QString& message)
{
    // Window-modal and opened without a nested event loop, so no handler is left waiting.
    auto* box =
        new QMessageBox(QMessageBox::Warning, windowTitle(), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

} // namespace vellmore::ui
