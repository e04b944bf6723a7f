#pragma once

#include "operations/bpmvalue.h"
#include "operations/musickey.h"

#include <QWidget>

#include <optional>

class QButtonGroup;
class QCheckBox;
class QRadioButton;
class QSpinBox;

// The operation panel's part for keys and tempos: which notation "Convert
// Keys" writes, and how "Normalise BPM" rounds and folds. The choices are
// the user's settings, kept as they change.
class KeysAndBpmBox : public QWidget
{
    Q_OBJECT

public:
    explicit KeysAndBpmBox(QWidget *parent = nullptr);

    KeyNotation notation() const;
    BpmValue::Precision precision() const;
    // Nothing when "Fold into range" is off.
    std::optional<BpmValue::Range> foldRange() const;

signals:
    void convertKeys(KeyNotation notation);
    void normaliseBpm(BpmValue::Precision precision, std::optional<BpmValue::Range> fold);

private:
    QRadioButton *makeRadio(const QString &text, const QString &objectName, QButtonGroup *group, int id);
    QSpinBox *makeTempoBox(const QString &objectName, int value);
    void rememberTempo();

    QButtonGroup *m_notations;
    QButtonGroup *m_precisions;
    QCheckBox *m_foldBox;
    QSpinBox *m_lowBox;
    QSpinBox *m_highBox;
};
