#pragma once

#include <QColor>
#include <QPushButton>

// A push button that paints itself flat: a text panel in swapped colours on
// hover, or a bare icon that follows the checked state.
class AButton : public QPushButton
{
    Q_OBJECT

public:
    explicit AButton(QWidget *parent = nullptr);
    AButton(const QString &text, QWidget *parent = nullptr);
    AButton(const QIcon &icon, const QString &text, QWidget *parent = nullptr);

    QColor backgroundColor() const { return m_backgroundColor; }
    QColor textColor() const { return m_textColor; }

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void initialise();

    bool m_hoverEffect = true;
    QColor m_backgroundColor = Qt::white;
    QColor m_textColor = Qt::black;
};
