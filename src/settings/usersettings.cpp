#include "settings/usersettings.h"

#include <QDir>
#include <QFileInfo>

namespace UserSettings {

namespace {
const QString kLastAddFolder = QStringLiteral("adding/lastFolder");
const QString kKeyNotation = QStringLiteral("keys/notation");
const QString kTempoPrecision = QStringLiteral("tempo/oneDecimal");
const QString kTempoFold = QStringLiteral("tempo/fold");
const QString kTempoLow = QStringLiteral("tempo/low");
const QString kTempoHigh = QStringLiteral("tempo/high");
const QString kPanelVisible = QStringLiteral("sidePanel/visible");
const QString kPanelWidth = QStringLiteral("sidePanel/width");
const QString kWindowGroup = QStringLiteral("window");
const QString kWindowGeometry = QStringLiteral("window/geometry");
const QString kWindowMaximised = QStringLiteral("window/maximised");
const QString kWindowHeader = QStringLiteral("window/header");
const QString kWindowSortColumn = QStringLiteral("window/sortColumn");
const QString kWindowSortDescending = QStringLiteral("window/sortDescending");
} // namespace

std::unique_ptr<QSettings> open()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Sonvel"),
                                       QStringLiteral("Sonvel"));
}

QString lastAddFolder()
{
    const QString folder = open()->value(kLastAddFolder).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::currentPath();
}

void rememberAddFolder(const QString &folder)
{
    open()->setValue(kLastAddFolder, folder);
}

KeyNotation keyNotation()
{
    return MusicKey::notationFromName(open()->value(kKeyNotation).toString()).value_or(KeyNotation::Camelot);
}

void rememberKeyNotation(KeyNotation notation)
{
    open()->setValue(kKeyNotation, MusicKey::notationName(notation));
}

TempoChoice tempoChoice()
{
    const std::unique_ptr<QSettings> settings = open();
    TempoChoice choice;
    if (settings->value(kTempoPrecision).toBool())
        choice.precision = BpmValue::Precision::OneDecimal;
    choice.fold = settings->value(kTempoFold).toBool();
    choice.range.low = settings->value(kTempoLow, choice.range.low).toDouble();
    choice.range.high = settings->value(kTempoHigh, choice.range.high).toDouble();
    return choice;
}

void rememberTempoChoice(const TempoChoice &choice)
{
    const std::unique_ptr<QSettings> settings = open();
    settings->setValue(kTempoPrecision, choice.precision == BpmValue::Precision::OneDecimal);
    settings->setValue(kTempoFold, choice.fold);
    settings->setValue(kTempoLow, choice.range.low);
    settings->setValue(kTempoHigh, choice.range.high);
}

SidePanel sidePanel()
{
    const std::unique_ptr<QSettings> settings = open();
    SidePanel panel;
    panel.visible = settings->value(kPanelVisible, panel.visible).toBool();
    panel.width = qMax(100, settings->value(kPanelWidth, panel.width).toInt());
    return panel;
}

void rememberSidePanel(const SidePanel &panel)
{
    const std::unique_ptr<QSettings> settings = open();
    settings->setValue(kPanelVisible, panel.visible);
    settings->setValue(kPanelWidth, panel.width);
}

WindowLayout windowLayout()
{
    const std::unique_ptr<QSettings> settings = open();
    WindowLayout layout;
    layout.geometry = settings->value(kWindowGeometry).toRect();
    layout.maximised = settings->value(kWindowMaximised, false).toBool();
    layout.header = settings->value(kWindowHeader).toByteArray();
    layout.sortColumn = settings->value(kWindowSortColumn, -1).toInt();
    if (settings->value(kWindowSortDescending, false).toBool())
        layout.sortOrder = Qt::DescendingOrder;
    return layout;
}

void rememberWindowLayout(const WindowLayout &layout)
{
    const std::unique_ptr<QSettings> settings = open();
    settings->setValue(kWindowGeometry, layout.geometry);
    settings->setValue(kWindowMaximised, layout.maximised);
    settings->setValue(kWindowHeader, layout.header);
    settings->setValue(kWindowSortColumn, layout.sortColumn);
    settings->setValue(kWindowSortDescending, layout.sortOrder == Qt::DescendingOrder);
}

void forgetWindowLayout()
{
    open()->remove(kWindowGroup);
}

} // namespace UserSettings
