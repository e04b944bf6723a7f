#pragma once

#include "operations/bpmvalue.h"
#include "operations/musickey.h"

#include <QByteArray>
#include <QRect>
#include <QSettings>

#include <memory>

namespace UserSettings {

// The user's own settings file, in the user's configuration folder (an INI
// file, so it reads the same on every system). Tests move it with
// QSettings::setPath().
std::unique_ptr<QSettings> open();

// Where the file dialogs open: the folder the user last added from, the
// working directory before that or when that folder is gone.
QString lastAddFolder();
void rememberAddFolder(const QString &folder);

// The Keys & BPM panel's choices.
KeyNotation keyNotation();
void rememberKeyNotation(KeyNotation notation);

struct TempoChoice
{
    BpmValue::Precision precision = BpmValue::Precision::Whole;
    bool fold = false;
    BpmValue::Range range;
};
TempoChoice tempoChoice();
void rememberTempoChoice(const TempoChoice &choice);

// The side panel for the selected rows.
struct SidePanel
{
    bool visible = false;
    int width = 340;
};
SidePanel sidePanel();
void rememberSidePanel(const SidePanel &panel);

// The main window as the user left it. An invalid geometry means nothing is
// remembered and the window takes its first placement.
struct WindowLayout
{
    QRect geometry; // the normal geometry, also while maximised
    bool maximised = false;
    QByteArray header; // QHeaderView::saveState(): column widths and order
    int sortColumn = -1;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
};
WindowLayout windowLayout();
void rememberWindowLayout(const WindowLayout &layout);
void forgetWindowLayout();

} // namespace UserSettings
