#pragma once

#include <QComboBox>

// A combo box that can be locked, the read-only state QComboBox lacks: a
// locked box neither opens its list nor changes its choice or text from the
// keyboard, an input method or the mouse wheel, yet it still takes the focus and Tab leaves it.
// The bound drop-downs lock themselves while their field cannot be written.
class LockableComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit LockableComboBox(QWidget *parent = nullptr);

    bool isLocked() const { return m_locked; }
    void showPopup() override;

protected:
    void setLocked(bool locked);
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    bool m_locked = false;
};
