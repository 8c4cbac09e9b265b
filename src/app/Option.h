#pragma once

#include <QDialog>

#include <memory>

class IniFile;
class QButtonGroup;
class QComboBox;
class QSpinBox;
class QTabWidget;

// The settings dialog: backup compression and its level, the first day of the
// week, the days of the coming appointments and whether reminders are shown.
// Its controls hold the stored values except while it is open.
class TOptionForm : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionForm(QWidget *parent = nullptr);
    ~TOptionForm() override;

    void LoadSet();
    // Throws data::Error naming the file when CRM.ini cannot be written.
    void SaveSet();

    // The choices as the controls hold them, for the parts that read the dialog.
    int backupCompression() const; // "BackUpSet"/"BackUp": 0 none, 1 compress
    int compressionLevel() const;  // "BackUpSet"/"Set": 0 store … 5 best
    int firstDayOfWeek() const;    // "SetWeek"/"Set": 0 Sunday, 1 Monday
    int comingDays() const;        // "TermSet"/"Set"
    int reminderChoice() const;    // "Information"/"Set": 0 shown, 1 not shown

    QTabWidget *pages() const { return m_pages; }
    QComboBox *Mode;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *backupPage();
    QWidget *datePage();
    QWidget *termPage();
    QWidget *reminderPage();

    std::unique_ptr<IniFile> m_ini;
    QTabWidget *m_pages;
    QButtonGroup *m_compression;
    QButtonGroup *m_weekStart;
    QSpinBox *m_days;
    QButtonGroup *m_reminder;
};
