#pragma once

#include "db/store.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeView;

namespace veltron::ui {

// The choice of the folder where reports are proposed to be saved. It keeps
// the choice in tabPath and in the process-wide report folder.
class frmAddFolder : public QWidget {
    Q_OBJECT
public:
    frmAddFolder(db::Store& store, QString& reportFolder, const QString& programDir, QWidget* returnScreen,
                 QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QTreeView* Dir1;
    QComboBox* Drive1;
    QLabel* lblPath;  // the chosen folder in full
    QPushButton* Command1;
    QPushButton* Command2;

    QString currentPath() const;
    void setCurrentPath(const QString& path);
    void chooseDrive(int index);
    void save();
    void cancel();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openStoredFolder();
    void storePath(const QString& path);
    void selectDriveOf(const QString& path);
    void finish();

    db::Store& store_;
    QString& reportFolder_;
    QString programDir_;
    QPointer<QWidget> returnScreen_;
    QFileSystemModel* model_;
    bool finished_ = false;
};

// Hides `opener` and shows the report folder dialog, which shows it again on close.
void openReportFolderDialog(db::Store& store, QString& reportFolder, const QString& programDir, QWidget* opener);

}  // namespace veltron::ui
