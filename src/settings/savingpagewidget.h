#pragma once

#include "settings/qpage.h"
#include "tags/savingoptions.h"

class QButtonGroup;
class QVBoxLayout;

// How saves store the tags: the ID3v2 version, the ID3v1 copy and the cover
// pictures. A choice takes effect at once and is kept in the user's settings.
class SavingPageWidget : public QPage
{
    Q_OBJECT

public:
    explicit SavingPageWidget(QWidget *parent = nullptr);

signals:
    void optionsChanged(const SavingOptions &options);

private:
    QButtonGroup *addChoices(QVBoxLayout *layout, const QString &heading, const QStringList &choices, int checked);
    void addHint(QVBoxLayout *layout, const QString &text);
    void storeChoices();

    QButtonGroup *m_versionGroup = nullptr;
    QButtonGroup *m_id3v1Group = nullptr;
    QButtonGroup *m_coversGroup = nullptr;
};
