#include "widgets/previewdialog.h"

#include "theme/geometryprovider.h"
#include "theme/vrfontprovider.h"
#include "widgets/dialogbutton.h"
#include "widgets/softpanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSizeGrip>
#include <QTableWidget>
#include <QVBoxLayout>

using RenamePreview::Kind;
using RenamePreview::Preview;
using RenamePreview::PreviewRow;
using RenamePreview::Skip;

namespace {

QString changingText(const Preview &preview, int changing)
{
    if (changing == 0)
        return preview.kind == Kind::RenameFiles ? PreviewDialog::tr("No file can be renamed.")
                                                 : PreviewDialog::tr("No row can get values from its name.");
    if (preview.kind == Kind::RenameFiles)
        return changing == 1 ? PreviewDialog::tr("1 file will be renamed.")
                             : PreviewDialog::tr("%1 files will be renamed.").arg(changing);
    return changing == 1 ? PreviewDialog::tr("1 row will get the values shown (those in grey it holds already).")
                         : PreviewDialog::tr("%1 rows will get the values shown (those in grey they hold already).")
                               .arg(changing);
}

QString summary(const Preview &preview)
{
    const int changing = preview.changing();
    const int skipped = preview.rows.size() - changing;
    QString text = changingText(preview, changing);
    if (skipped > 0 && changing > 0)
        text += QLatin1Char(' ')
            + (skipped == 1 ? PreviewDialog::tr("1 is left as it is, for the reason given.")
                            : PreviewDialog::tr("%1 are left as they are, for the reasons given.").arg(skipped));
    return text;
}

} // namespace

PreviewDialog::Ask PreviewDialog::ask = [](const Preview &preview, QWidget *parent) {
    PreviewDialog dialog(preview, parent);
    return dialog.exec() == QDialog::Accepted;
};

PreviewDialog::PreviewDialog(const Preview &preview, QWidget *parent)
    : QDialog(parent)
    , m_titleLabel(new QLabel)
    , m_summaryLabel(new QLabel)
    , m_table(new QTableWidget)
{
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setText(preview.kind == Kind::RenameFiles ? tr("Rename Files") : tr("Tags From File Names"));
    m_titleLabel->setFont(VrFontProvider::font20(QFont::Bold));
    m_titleLabel->setProperty("dialogTitle", true);

    m_summaryLabel->setObjectName(QStringLiteral("summaryLabel"));
    m_summaryLabel->setText(summary(preview));
    m_summaryLabel->setWordWrap(true);
    m_summaryLabel->setFont(VrFontProvider::font14(QFont::Normal));
    m_summaryLabel->setProperty("dialogMessage", true);

    createTable(preview);
    createButtons(preview);
    createLayout();

    setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setPalette(QPalette(Qt::transparent));
    const int factor = GeometryProvider::dialogFactor();
    setMinimumSize(480 * factor, 300 * factor);
    resize(760 * factor, 460 * factor);
}

QString PreviewDialog::reasonText(Skip skip)
{
    switch (skip) {
    case Skip::None:
        break;
    case Skip::MissingValue:
        return tr("a tag of the pattern is empty");
    case Skip::NameRefused:
        return tr("the name is no valid file name");
    case Skip::NameTaken:
        return tr("the name is already taken");
    case Skip::FileGone:
        return tr("the file is gone");
    case Skip::NameUnmatched:
        return tr("the name does not fit the pattern");
    }
    return QString();
}

void PreviewDialog::createTable(const Preview &preview)
{
    QStringList headers = preview.kind == Kind::RenameFiles ? QStringList{tr("Current name"), tr("New name")}
                                                            : QStringList{tr("File name")} + preview.columns;
    const bool reasonColumn = preview.changing() < preview.rows.size();
    if (reasonColumn)
        headers << tr("Left as it is because");

    m_table->setObjectName(QStringLiteral("previewTable"));
    m_table->setColumnCount(headers.size());
    m_table->setHorizontalHeaderLabels(headers);
    m_table->setRowCount(preview.rows.size());
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setFont(VrFontProvider::font13(QFont::Normal));
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setProperty("resSize", QStringLiteral("small"));
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < preview.rows.size(); ++r)
        fillRow(r, preview.rows.at(r), reasonColumn);
    m_table->resizeColumnsToContents();
}

// What stays as it is is shown in grey, so what changes stands out.
void PreviewDialog::fillRow(int row, const PreviewRow &shown, bool reasonColumn)
{
    const auto put = [&](int column, const QString &text, bool unchanged) {
        auto *item = new QTableWidgetItem(text);
        if (unchanged)
            item->setForeground(Qt::gray);
        m_table->setItem(row, column, item);
    };
    put(0, shown.fileName, !shown.changes());
    for (int i = 0; i < shown.after.size(); ++i)
        put(i + 1, shown.after.at(i), !shown.changes() || shown.after.at(i) == shown.before.value(i));
    if (reasonColumn)
        put(shown.after.size() + 1, reasonText(shown.skip), false);
}

void PreviewDialog::createButtons(const Preview &preview)
{
    m_acceptButton = new QPushButton(preview.kind == Kind::RenameFiles ? tr("Rename") : tr("Set Tags"));
    m_acceptButton->setObjectName(QStringLiteral("acceptButton"));
    // The stylesheet gives a disabled button no look of its own: with nothing
    // to do, only a way out is offered.
    const bool canAccept = preview.changing() > 0;
    m_acceptButton->setVisible(canAccept);
    m_cancelButton = new QPushButton(canAccept ? tr("Cancel") : tr("Close"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton *button : {m_acceptButton, m_cancelButton}) {
        button->setFont(VrFontProvider::font14(QFont::Normal));
        button->setMinimumHeight(GeometryProvider::scaled(30));
        button->setMinimumWidth(GeometryProvider::scaled(100));
        makeDialogButton(button);
    }
    m_cancelButton->setDefault(true);
    connect(m_acceptButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void PreviewDialog::createLayout()
{
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_acceptButton);
    buttonRow->addWidget(m_cancelButton);
    buttonRow->addSpacing(10);
    // Frameless: the grip is the only way to make the list larger.
    buttonRow->addWidget(new QSizeGrip(this), 0, Qt::AlignBottom | Qt::AlignRight);

    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(20, 10, 15, 15);
    mainLayout->addWidget(m_titleLabel, 0, Qt::AlignCenter);
    mainLayout->addSpacing(5);
    mainLayout->addWidget(m_summaryLabel);
    mainLayout->addWidget(m_table, 1);
    mainLayout->addSpacing(5);
    mainLayout->addLayout(buttonRow);
}

void PreviewDialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    SoftPanel::paint(painter, width(), height());
}
