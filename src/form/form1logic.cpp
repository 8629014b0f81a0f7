#include "form/form1logic.h"

#include "calc/exposure.h"
#include "calc/faultmessage.h"
#include "platform/launcher.h"
#include "platform/numberformat.h"
#include "settings/location.h"
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

void Form1Logic::handle(Control control, Event event)
{
    switch (control) {
    case Control::Command1:
        if (event == Event::Clicked)
            ComputeExposure();
        break;
    case Control::Command2:
        if (event == Event::Clicked)
            LoadSettings(); // a reload does not calculate
        break;
    case Control::Command3:
        if (event == Event::Clicked)
            editSettings();
        break;
    case Control::Combo1:
        if (event == Event::Picked)
            copyObjectK(m_view.selectedIndex());
        else if (event == Event::Edited)
            selectorEdited();
        break;
    case Control::Label14:
        linkEvent(event);
        break;
    default:
        break;
    }
}

void Form1Logic::editSettings()
{
    const std::string path = settingsPath();
    if (!m_launcher->editSettings(path)) {
        reportError("Could not start a text editor for the settings file " + path +
                    ". Open it with any text editor, then click \"ReLoad Settings\".");
    }
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

// The link opens its page once per click: the main button goes down on it and comes up over it,
// with nothing in between. A double-click is one click and a second press, which opens nothing.
// A screen reader's default action is a click of its own.
void Form1Logic::linkEvent(Event event)
{
    const bool click = (event == Event::ReleasedIn && m_linkPressed) || event == Event::Activated;
    m_linkPressed = event == Event::Pressed;
    if (click) {
        std::string doc = referenceAddress;
        StartDoc(doc); // a missing or failing handler is not reported
    }
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
    const settings::Location location = settings::settingsLocation(m_programDir);
    const settings::LoadOutcome outcome =
        settings::loadSettingsFile(location.path, location.folder);
    if (outcome.read && !outcome.content.refused())
        applyLoaded(outcome.content);
    const std::string message = settings::describeOutcome(outcome, settings::shownName(location));
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
    // A window reports a pick only with an entry selected; anything else changes nothing.
    if (!m_objects.holds(index))
        return;
    m_view.setText(Control::txtK,
                   platform::formatGeneral(m_objects.ObjectK[static_cast<size_t>(index)]));
}

int Form1Logic::StartDoc(std::string& DocName)
{
    // The text goes out as it is and comes back unchanged.
    return m_launcher->openDocument(DocName);
}

std::string Form1Logic::settingsPath() const
{
    return settings::settingsLocation(m_programDir).path;
}

void Form1Logic::reportError(const std::string& message)
{
    if (m_shown)
        m_view.showMessage(message);
    else
        m_pending.push_back(message);
}

} // namespace vellmore::form
