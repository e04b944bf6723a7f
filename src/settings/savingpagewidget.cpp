#include "settings/savingpagewidget.h"

#include "settings/savingsettings.h"
#include "settings/usersettings.h"
#include "theme/vrfontprovider.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

SavingPageWidget::SavingPageWidget(QWidget *parent)
    : QPage(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 10, 10);
    layout->setSpacing(6);

    const SavingOptions options = SavingOptions::current();
    m_versionGroup = addChoices(layout, tr("ID3v2 version written"), {tr("2.4"), tr("2.3")},
                                int(options.id3v2Version));
    addHint(layout, tr("MP3, AIFF and WAV files. Some DJ programs and older players read 2.3 better."));
    layout->addSpacing(14);
    m_id3v1Group = addChoices(layout, tr("ID3v1 copy"), {tr("Always write"), tr("Keep as found"), tr("Remove")},
                              int(options.id3v1Copy));
    addHint(layout, tr("MP3 files only. Keep as found updates a copy a file has and never adds one."));
    layout->addSpacing(14);
    m_coversGroup = addChoices(layout, tr("Cover pictures"), {tr("Fit to 400 × 400"), tr("Keep as chosen")},
                               int(options.covers));
    addHint(layout, tr("Every format. Keep as chosen stores JPEG and PNG files unchanged."));
    layout->addStretch(1);
}

// The button ids are the options' enum values, in the order listed.
QButtonGroup *SavingPageWidget::addChoices(QVBoxLayout *layout, const QString &heading, const QStringList &choices,
                                           int checked)
{
    auto *title = new QLabel(heading, this);
    title->setObjectName(QStringLiteral("savingHeading"));
    title->setFont(VrFontProvider::font14(QFont::Bold));
    layout->addWidget(title);

    auto *group = new QButtonGroup(this);
    for (int i = 0; i < choices.size(); ++i) {
        auto *button = new QRadioButton(choices.at(i), this);
        button->setFont(VrFontProvider::font13(QFont::Normal));
        button->setChecked(i == checked);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            storeChoices();
    });
    return group;
}

void SavingPageWidget::addHint(QVBoxLayout *layout, const QString &text)
{
    auto *hint = new QLabel(text, this);
    hint->setObjectName(QStringLiteral("savingHint"));
    hint->setFont(VrFontProvider::font13(QFont::Normal));
    layout->addWidget(hint);
}

void SavingPageWidget::storeChoices()
{
    SavingOptions options;
    options.id3v2Version = SavingOptions::Id3v2Version(m_versionGroup->checkedId());
    options.id3v1Copy = SavingOptions::Id3v1Copy(m_id3v1Group->checkedId());
    options.covers = SavingOptions::Covers(m_coversGroup->checkedId());
    SavingOptions::setCurrent(options);
    SavingSettings::store(*UserSettings::open(), options);
    emit optionsChanged(options);
}
