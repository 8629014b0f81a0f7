#include "form/form1logic.h"

#include "calc/exposure.h"
#include "calc/faultmessage.h"
#include "platform/launcher.h"
#include "platform/numberformat.h"
#include "settings/settingsfile.h"
#include "settings/store.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vellmore::form {

static_assert(inputFields.size() == calc::inputCount);

Form1Logic::Form1Logic(View& view, std::string programDir,
                       std::shared_ptr<platform::Launcher> launcher)
    : m_view(view), m_programDir(std::move(programDir)), m_launcher(std::move(launcher))
{}

void Form1Logic::load()
{
    if (LoadSettings() && LoadSettings())
        ComputeExposure();
}

void Form1Logic::shown()
{
    if (m_shown)
        return;
    m_shown = true;
    for (const std::string& message : std::exchange(m_pending, {}))
        m_view.showMessage(message);
}

void Form1Logic::calculateClicked()
{
    ComputeExposure();
}

void Form1Logic::reloadClicked()
{
    LoadSettings();
}

void Form1Logic::editSettingsClicked()
{
    const std::string path = settingsPath();
    if (!m_launcher->editSettings(path)) {
        reportError("Could not start a text editor for the settings file " + path +
                    ". Open it with any text editor, then click \"ReLoad Settings\".");
    }
}

void Form1Logic::objectPicked()
{
    copyObjectK(m_view.selectedIndex());
}

void Form1Logic::selectorEdited()
{
    // Typing that does not name an entry exactly is just typing.
    const auto match = std::find(m_entries.begin(), m_entries.end(), m_view.text(Control::Combo1));
    if (match == m_entries.end())
        return;
    const int index = static_cast<int>(match - m_entries.begin());
    m_view.setSelectedIndex(index);
    copyObjectK(index);
}

void Form1Logic::referenceClicked()
{
    std::string doc = referenceAddress;
    StartDoc(doc); // a missing or failing handler is not reported
}

bool Form1Logic::ComputeExposure()
{
    std::array<std::string, calc::inputCount> texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = m_view.text(inputFields[i]);
    const calc::Calculation result = calc::computeExposure(texts);
    for (const calc::Published& published : result.published)
        m_view.setText(resultLabels[static_cast<size_t>(published.label)], published.text);
    if (!result.fault)
        return true;
    reportError(calc::describeFault(*result.fault, result.figures));
    return false;
}

bool Form1Logic::LoadSettings()
{
    const settings::LoadOutcome outcome = settings::loadSettingsFile(settingsPath());
    if (outcome.read && !outcome.content.refused())
        applyLoaded(outcome.content);
    const std::string message = settings::describeOutcome(outcome, settings::settingsFileName);
    if (message.empty())
        return true;
    reportError(message);
    return false;
}

void Form1Logic::applyLoaded(const settings::LoadResult& content)
{
    m_view.clearSelector();
    for (const settings::Assignment& assignment : content.assignments)
        m_view.setText(inputFields[static_cast<size_t>(assignment.field)], assignment.value);
    m_objects.load(content.objects);
    m_entries.clear();
    for (const settings::ObjectEntry& object : content.objects)
        m_entries.push_back(settings::listEntryText(object));
    m_view.appendEntries(m_entries);
}

void Form1Logic::copyObjectK(int index)
{
    if (!m_objects.holds(index)) {
        reportError("No object is selected.");
        return;
    }
    m_view.setText(Control::txtK,
                   platform::formatGeneral(m_objects.ObjectK[static_cast<size_t>(index)]));
}

int Form1Logic::StartDoc(std::string& DocName)
{
    // The text already is the system code page's, so it comes back unchanged.
    return m_launcher->openDocument(DocName);
}

std::string Form1Logic::settingsPath() const
{
    return settings::settingsPath(m_programDir);
}

void Form1Logic::reportError(const std::string& message)
{
    if (m_shown)
        m_view.showMessage(message);
    else
        m_pending.push_back(message);
}

} // namespace vellmore::form
