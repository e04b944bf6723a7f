#include "table/selectionpanel.h"

#include "table/coveroriginals.h"
#include "table/mediafiletablewidget.h"
#include "tags/tagcolumns.h"
#include "theme/geometryprovider.h"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QVBoxLayout>

#include <vector>

namespace {

// Beyond this many rows the covers are not read to compare them.
constexpr int kCoversCompared = 50;
constexpr int kCoverSize = 180;

// "&Title", "&Artist", "A&lbum"...: each label its own Alt+letter.
QString withMnemonic(const QString &key, QSet<QChar> &taken)
{
    for (int i = 0; i < key.size(); ++i) {
        const QChar letter = key.at(i).toLower();
        if (letter.isLetter() && !taken.contains(letter)) {
            taken.insert(letter);
            return key.left(i) + QLatin1Char('&') + key.mid(i);
        }
    }
    return key;
}

QImage pictureFrom(const QMimeData *data)
{
    if (data->hasImage())
        return qvariant_cast<QImage>(data->imageData());
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile()) {
            const QImage picture = CoverOriginals::load(url.toLocalFile());
            if (!picture.isNull())
                return picture;
        }
    }
    return QImage();
}

} // namespace

std::function<QString(QWidget *parent)> SelectionPanel::choosePictureFile = [](QWidget *parent) {
    return QFileDialog::getOpenFileName(parent, QObject::tr("Choose a Cover"), QString(),
                                        QObject::tr("Pictures (*.jpg *.jpeg *.png *.JPG *.JPEG *.PNG)"));
};

SelectionPanel::SelectionPanel(MediaFileTableWidget *table, QWidget *parent)
    : QWidget(parent)
    , m_table(table)
    , m_coverBox(new QLabel)
    , m_chooseButton(new QPushButton(tr("Choose...")))
    , m_removeButton(new QPushButton(tr("Remove")))
{
    setObjectName(QStringLiteral("selectionPanel"));
    setAcceptDrops(true);
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &SelectionPanel::refresh);

    m_coverBox->setObjectName(QStringLiteral("panelCover"));
    m_coverBox->setFixedSize(GeometryProvider::scaled(kCoverSize), GeometryProvider::scaled(kCoverSize));
    m_coverBox->setAlignment(Qt::AlignCenter);
    m_coverBox->setFrameShape(QFrame::StyledPanel);
    m_coverBox->setFocusPolicy(Qt::StrongFocus);
    m_coverBox->setToolTip(tr("Drop or paste a picture here to set the cover of the selected rows"));
    m_coverBox->installEventFilter(this);
    m_chooseButton->setObjectName(QStringLiteral("panelChooseCover"));
    m_removeButton->setObjectName(QStringLiteral("panelRemoveCover"));
    connect(m_chooseButton, &QPushButton::clicked, this, [this] {
        const QString file = choosePictureFile(this);
        if (!file.isEmpty())
            setPicture(CoverOriginals::load(file));
    });
    connect(m_removeButton, &QPushButton::clicked, this, [this] { emit coverSet(QImage(), selectedRows()); });

    auto *coverButtons = new QHBoxLayout;
    coverButtons->addWidget(m_chooseButton);
    coverButtons->addWidget(m_removeButton);

    auto *form = new QFormLayout;
    QSet<QChar> taken;
    for (const QString &key : TagColumns::textKeys()) {
        auto *edit = new QLineEdit;
        edit->setObjectName(QStringLiteral("panel") + key);
        auto *label = new QLabel(withMnemonic(key, taken));
        label->setBuddy(edit);
        form->addRow(label, edit);
        m_fields.insert(key, edit);
        connect(edit, &QLineEdit::editingFinished, this, [this, key] { commit(key); });
    }

    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->addWidget(m_coverBox, 0, Qt::AlignHCenter);
    column->addLayout(coverButtons);
    column->addLayout(form);
    column->addStretch();
    auto *scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SelectionPanel::scheduleRefresh);
    connect(table->model(), &QAbstractItemModel::dataChanged, this, &SelectionPanel::scheduleRefresh);
    connect(table->model(), &QAbstractItemModel::layoutChanged, this, &SelectionPanel::scheduleRefresh);
    connect(table->model(), &QAbstractItemModel::rowsRemoved, this, &SelectionPanel::scheduleRefresh);
    connect(table->model(), &QAbstractItemModel::modelReset, this, &SelectionPanel::scheduleRefresh);
    connect(table, &MediaFileTableWidget::coverReplaced, this, &SelectionPanel::scheduleRefresh);
    refresh();
}

// From the selection's ranges, not its cells: ten thousand selected rows
// are a handful of ranges but two hundred thousand cells.
QList<int> SelectionPanel::selectedRows() const
{
    std::vector<bool> selected(size_t(m_table->rowCount()), false);
    const QItemSelection ranges = m_table->selectionModel()->selection();
    for (const QItemSelectionRange &range : ranges) {
        for (int r = range.top(); r <= range.bottom() && r < m_table->rowCount(); ++r)
            selected[size_t(r)] = true;
    }
    QList<int> rows;
    for (int r = 0; r < int(selected.size()); ++r) {
        if (selected[size_t(r)])
            rows << r;
    }
    return rows;
}

void SelectionPanel::refresh()
{
    // A hidden panel costs nothing; showing it refreshes it.
    if (isHidden())
        return;
    const QList<int> rows = selectedRows();
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        QLineEdit *edit = it.value();
        // What the user is typing stays.
        if (edit->hasFocus() && edit->isModified())
            continue;
        const int column = TagColumns::position(it.key());
        QString shared;
        bool differ = false;
        for (int i = 0; i < rows.size() && !differ; ++i) {
            const QTableWidgetItem *cell = m_table->item(rows.at(i), column);
            const QString text = cell ? cell->text() : QString();
            if (i == 0)
                shared = text;
            else
                differ = text != shared;
        }
        m_shown.insert(it.key(), differ ? QString() : (shared.isNull() ? QLatin1String("") : shared));
        edit->setText(differ ? QString() : shared);
        edit->setPlaceholderText(differ ? tr("<different values>") : QString());
        edit->setModified(false);
        edit->setEnabled(!rows.isEmpty());
    }
    refreshCover(rows);
}

void SelectionPanel::refreshCover(const QList<int> &rows)
{
    m_cover = QImage();
    m_chooseButton->setEnabled(!rows.isEmpty());
    m_removeButton->setEnabled(!rows.isEmpty());
    if (rows.isEmpty()) {
        m_coverBox->setPixmap(QPixmap());
        m_coverBox->setText(QString());
        return;
    }
    if (rows.size() > kCoversCompared) {
        m_coverBox->setPixmap(QPixmap());
        m_coverBox->setText(tr("<covers of %n rows>", nullptr, rows.size()));
        return;
    }
    const QImage first = m_table->coverPicture(rows.first());
    for (int i = 1; i < rows.size(); ++i) {
        if (m_table->coverPicture(rows.at(i)) != first) {
            m_coverBox->setPixmap(QPixmap());
            m_coverBox->setText(tr("<different pictures>"));
            return;
        }
    }
    m_cover = first;
    if (first.isNull()) {
        m_coverBox->setPixmap(QPixmap());
        m_coverBox->setText(tr("No cover"));
        return;
    }
    m_coverBox->setText(QString());
    m_coverBox->setPixmap(QPixmap::fromImage(
        first.scaled(m_coverBox->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

QString SelectionPanel::coverText() const
{
    return m_coverBox->text();
}

void SelectionPanel::commit(const QString &key)
{
    QLineEdit *edit = m_fields.value(key);
    if (!edit->isModified())
        return;
    edit->setModified(false);
    const QString text = edit->text();
    // An empty field over differing values leaves them as they are.
    if (text.isEmpty() && m_shown.value(key).isNull())
        return;
    if (text == m_shown.value(key))
        return;
    const QList<int> rows = selectedRows();
    if (!rows.isEmpty())
        emit fieldSet(key, text, rows);
}

void SelectionPanel::setPicture(const QImage &picture)
{
    const QList<int> rows = selectedRows();
    if (!picture.isNull() && !rows.isEmpty())
        emit coverSet(picture, rows);
}

void SelectionPanel::dragEnterEvent(QDragEnterEvent *event)
{
    if (!selectedRows().isEmpty() && (event->mimeData()->hasImage() || event->mimeData()->hasUrls()))
        event->acceptProposedAction();
}

void SelectionPanel::dropEvent(QDropEvent *event)
{
    const QImage picture = pictureFrom(event->mimeData());
    if (picture.isNull())
        return;
    event->acceptProposedAction();
    setPicture(picture);
}

bool SelectionPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_coverBox && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        setPicture(pictureFrom(QApplication::clipboard()->mimeData()));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
