#include "operations/keysandbpmbox.h"

#include "settings/usersettings.h"
#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
// Tempos DJs meet, with room on both sides.
constexpr int kSlowest = 20;
constexpr int kFastest = 400;
} // namespace

KeysAndBpmBox::KeysAndBpmBox(QWidget *parent)
    : QWidget(parent)
    , m_notations(new QButtonGroup(this))
    , m_precisions(new QButtonGroup(this))
{
    // Keys above tempos: one row of both would not fit a laptop's width on
    // a dense screen.
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    auto *layout = new QHBoxLayout;
    rows->addLayout(layout);

    auto *keyLabel = new QLabel(tr("Key notation:"));
    layout->addWidget(keyLabel);
    for (KeyNotation notation : {KeyNotation::Musical, KeyNotation::Camelot, KeyNotation::OpenKey}) {
        const QString name = MusicKey::notationName(notation);
        QRadioButton *radio = makeRadio(name, QStringLiteral("notation") + QString(name).remove(QLatin1Char(' ')),
                                        m_notations, int(notation));
        radio->setChecked(notation == UserSettings::keyNotation());
        layout->addWidget(radio);
    }
    connect(m_notations, &QButtonGroup::idClicked, this,
            [](int id) { UserSettings::rememberKeyNotation(KeyNotation(id)); });
    auto *convertButton = new QPushButton(tr("Convert Keys"));
    convertButton->setObjectName(QStringLiteral("convertKeysButton"));
    layout->addWidget(convertButton);
    connect(convertButton, &QPushButton::clicked, this, [this] { emit convertKeys(notation()); });

    layout->addStretch();

    layout = new QHBoxLayout;
    rows->addLayout(layout);
    const UserSettings::TempoChoice tempo = UserSettings::tempoChoice();
    auto *tempoLabel = new QLabel(tr("BPM:"));
    layout->addWidget(tempoLabel);
    QRadioButton *whole = makeRadio(tr("Whole numbers"), QStringLiteral("wholeNumbers"), m_precisions,
                                    int(BpmValue::Precision::Whole));
    QRadioButton *decimal = makeRadio(tr("One decimal"), QStringLiteral("oneDecimal"), m_precisions,
                                      int(BpmValue::Precision::OneDecimal));
    (tempo.precision == BpmValue::Precision::Whole ? whole : decimal)->setChecked(true);
    layout->addWidget(whole);
    layout->addWidget(decimal);

    m_foldBox = new QCheckBox(tr("Fold into range"));
    m_foldBox->setObjectName(QStringLiteral("foldBox"));
    m_foldBox->setChecked(tempo.fold);
    m_lowBox = makeTempoBox(QStringLiteral("lowestTempo"), int(tempo.range.low));
    m_highBox = makeTempoBox(QStringLiteral("highestTempo"), int(tempo.range.high));
    m_lowBox->setAccessibleName(tr("Lowest tempo"));
    m_highBox->setAccessibleName(tr("Highest tempo"));
    layout->addWidget(m_foldBox);
    layout->addWidget(m_lowBox);
    layout->addWidget(new QLabel(QStringLiteral("–")));
    layout->addWidget(m_highBox);
    const auto enableRange = [this] {
        m_lowBox->setEnabled(m_foldBox->isChecked());
        m_highBox->setEnabled(m_foldBox->isChecked());
    };
    enableRange();
    connect(m_foldBox, &QCheckBox::toggled, this, enableRange);
    connect(m_foldBox, &QCheckBox::toggled, this, &KeysAndBpmBox::rememberTempo);
    connect(m_precisions, &QButtonGroup::idClicked, this, &KeysAndBpmBox::rememberTempo);
    // The top of the range stays above its bottom.
    m_highBox->setMinimum(m_lowBox->value() + 1);
    connect(m_lowBox, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int low) {
        m_highBox->setMinimum(low + 1);
        rememberTempo();
    });
    connect(m_highBox, QOverload<int>::of(&QSpinBox::valueChanged), this, &KeysAndBpmBox::rememberTempo);

    auto *normaliseButton = new QPushButton(tr("Normalise BPM"));
    normaliseButton->setObjectName(QStringLiteral("normaliseBpmButton"));
    layout->addWidget(normaliseButton);
    connect(normaliseButton, &QPushButton::clicked, this, [this] { emit normaliseBpm(precision(), foldRange()); });
    layout->addStretch();

    // Widgets the stylesheet styles do not take their parent's font.
    const QList<QWidget *> children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->setFont(VrFontProvider::font16(QFont::Normal));
    // The two rows' choices line up.
    tempoLabel->setMinimumWidth(keyLabel->sizeHint().width());
    for (QPushButton *button : {convertButton, normaliseButton}) {
        button->setMinimumHeight(GeometryProvider::scaled(40));
        makeDialogButton(button);
    }
}

QRadioButton *KeysAndBpmBox::makeRadio(const QString &text, const QString &objectName, QButtonGroup *group, int id)
{
    auto *radio = new QRadioButton(text);
    radio->setObjectName(objectName);
    group->addButton(radio, id);
    return radio;
}

QSpinBox *KeysAndBpmBox::makeTempoBox(const QString &objectName, int value)
{
    auto *box = new QSpinBox;
    box->setObjectName(objectName);
    box->setRange(kSlowest, kFastest);
    box->setValue(value);
    box->setFixedHeight(GeometryProvider::scaled(30));
    return box;
}

KeyNotation KeysAndBpmBox::notation() const
{
    return KeyNotation(m_notations->checkedId());
}

BpmValue::Precision KeysAndBpmBox::precision() const
{
    return BpmValue::Precision(m_precisions->checkedId());
}

std::optional<BpmValue::Range> KeysAndBpmBox::foldRange() const
{
    if (!m_foldBox->isChecked())
        return std::nullopt;
    return BpmValue::Range{double(m_lowBox->value()), double(m_highBox->value())};
}

void KeysAndBpmBox::rememberTempo()
{
    UserSettings::TempoChoice choice;
    choice.precision = precision();
    choice.fold = m_foldBox->isChecked();
    choice.range = {double(m_lowBox->value()), double(m_highBox->value())};
    UserSettings::rememberTempoChoice(choice);
}
