#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeView;

namespace veltron::ui {

// Where the report folder is kept between program runs.
struct FolderStorage {
    // The kept folder; empty when none is kept or it cannot be read.
    std::function<QString()> read;
    // Keeps the folder; false, with the reason shown, when it could not.
    std::function<bool(const QString& path)> write;
};

// The choice of the folder where reports are proposed to be saved. It keeps
// the choice in its storage and in the process-wide report folder; it opens
// on `fallback` when no usable folder is stored.
class frmAddFolder : public QWidget {
    Q_OBJECT
public:
    frmAddFolder(FolderStorage storage, QString& reportFolder, const QString& fallback, QWidget* returnScreen,
                 QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QTreeView* Dir1;
    QComboBox* Drive1;
    QLabel* lblPath;  // the chosen folder in full
    QPushButton* Command1;
    QPushButton* Command2;

    // A section of further settings under the folder (the signature of the
    // reports): `save` keeps it when the folder is confirmed, and may refuse.
    void addSection(QWidget* section, std::function<bool()> save);

    QString currentPath() const;
    void setCurrentPath(const QString& path);
    void chooseDrive(int index);
    void save();
    void cancel();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void openStoredFolder();
    void selectDriveOf(const QString& path);
    void finish();

    FolderStorage storage_;
    QString& reportFolder_;
    QString fallback_;
    QPointer<QWidget> returnScreen_;
    QFileSystemModel* model_;
    bool finished_ = false;
    QHBoxLayout* buttons_ = nullptr;  // «Сохранить» and «Отмена»
    std::function<bool()> saveSection_;
};

// Hides `opener` and shows the report folder dialog, which shows it again on close.
frmAddFolder* openReportFolderDialog(FolderStorage storage, QString& reportFolder, const QString& fallback,
                                     QWidget* opener);

}  // namespace veltron::ui
