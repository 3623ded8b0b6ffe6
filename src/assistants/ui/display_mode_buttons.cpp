#include "assistants/ui/display_mode_buttons.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>

#include "assistants/ui/dialog_message.h"
#include "fields/meta_field.h"
#include "resource_ids.h"

CDisplayModeButtons::CDisplayModeButtons(QWidget* page) : QObject(page) {
    m_label = new QLabel(QStringLiteral("When displaying only main meta-data fields -"), page);
    m_label->setWordWrap(true);
    m_group = new QButtonGroup(this);
    const struct {
        int mode;
        int id;
        const char* text;
    } buttons[] = {
        {DISPLAY_ALWAYS, IDC_DISPLAY_ALWAYS, "Always display"},
        {DISPLAY_IF_CONTENT, IDC_DISPLAY_IF_CONTENT, "Display if content exists"},
        {DISPLAY_NEVER, IDC_DISPLAY_NEVER, "Never display"},
    };
    for (const auto& b : buttons) {
        auto* radio = new QRadioButton(QString::fromLatin1(b.text), page);
        NameControl(radio, b.id, radio->text());
        m_group->addButton(radio, b.mode);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &CDisplayModeButtons::modeClicked);
}

QAbstractButton* CDisplayModeButtons::Button(int mode) const {
    return m_group->button(mode);
}

void CDisplayModeButtons::SetChecked(int mode) {
    // An exclusive group keeps one button checked; none is checked while
    // nothing is selected.
    m_group->setExclusive(false);
    for (QAbstractButton* button : m_group->buttons())
        button->setChecked(m_group->id(button) == mode);
    m_group->setExclusive(true);
}

void CDisplayModeButtons::SetEnabled(bool enabled) {
    for (QAbstractButton* button : m_group->buttons())
        button->setEnabled(enabled);
}
