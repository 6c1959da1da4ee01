#include "ui/frmAddFolder.h"

#include "ui/dialogs.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace veltron::ui {

namespace {

bool usableFolder(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && info.isReadable();
}

}  // namespace

frmAddFolder::frmAddFolder(FolderStorage storage, QString& reportFolder, const QString& fallback,
                           QWidget* returnScreen, QWidget* parent)
    : QWidget(parent), storage_(std::move(storage)), reportFolder_(reportFolder), fallback_(fallback),
      returnScreen_(returnScreen)
{
    setObjectName(QStringLiteral("frmAddFolder"));
    setWindowTitle(QStringLiteral("Папка для сохранения отчета"));
    auto* layout = new QVBoxLayout(this);
    Frame1 = new QGroupBox(QStringLiteral("Ввод папки "), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* inner = new QVBoxLayout(Frame1);
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QString());
    Dir1 = new QTreeView(Frame1);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c)
        Dir1->hideColumn(c);
    Dir1->header()->hide();
    inner->addWidget(Dir1, 1);
    lblPath = new QLabel(Frame1);
    lblPath->setObjectName(QStringLiteral("lblPath"));
    lblPath->setWordWrap(true);
    inner->addWidget(lblPath);
    Drive1 = new QComboBox(Frame1);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid())
            continue;
        const QString root = volume.rootPath();
        if (Drive1->findData(root) < 0)
            Drive1->addItem(root, root);
    }
    auto* row = new QHBoxLayout;
    row->addWidget(Drive1, 1);
    inner->addLayout(row);
    buttons_ = new QHBoxLayout;
    auto* buttons = buttons_;
    Command1 = new QPushButton(QStringLiteral("Сохранить"), Frame1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Отмена"), Frame1);
    Command2->setObjectName(QStringLiteral("Command2"));
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(Command2);
    inner->addLayout(buttons);
    layout->addWidget(Frame1);
    resize(420, 360);

    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { lblPath->setText(QDir::toNativeSeparators(currentPath())); });
    // The folder tree loads in the background: keep the chosen folder in view.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this] { Dir1->scrollTo(Dir1->currentIndex()); });
    openStoredFolder();
    connect(Drive1, &QComboBox::activated, this, [this](int i) { chooseDrive(i); });
    connect(Command1, &QPushButton::clicked, this, [this] { save(); });
    connect(Command2, &QPushButton::clicked, this, [this] { cancel(); });
}

QString frmAddFolder::currentPath() const
{
    return QDir::cleanPath(model_->filePath(Dir1->currentIndex()));
}

void frmAddFolder::setCurrentPath(const QString& path)
{
    const QModelIndex index = model_->index(path);
    Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index);
    Dir1->expand(index);
}

void frmAddFolder::selectDriveOf(const QString& path)
{
    const int i = Drive1->findData(QStorageInfo(path).rootPath());
    if (i >= 0)
        Drive1->setCurrentIndex(i);
}

// A stored folder that is no longer usable is replaced by the fallback folder
// (the program's folder, or the home folder of an installed program), which
// is written back, so that the dialog always opens on a real folder.
void frmAddFolder::openStoredFolder()
{
    const QString stored = storage_.read();
    if (usableFolder(stored)) {
        setCurrentPath(QDir::cleanPath(stored));
        selectDriveOf(stored);
        return;
    }
    setCurrentPath(QDir::cleanPath(fallback_));
    selectDriveOf(fallback_);
    storage_.write(QDir::cleanPath(fallback_));
}

void frmAddFolder::chooseDrive(int index)
{
    const QString root = Drive1->itemData(index).toString();
    if (!usableFolder(root)) {
        dialogs().inform(QStringLiteral("Внимание!"),
                         QStringLiteral("Выбранный диск ") + Drive1->itemText(index) + QStringLiteral("не доступен!"),
                         Icon::Critical);
        selectDriveOf(currentPath());
        return;
    }
    setCurrentPath(root);
}

void frmAddFolder::save()
{
    const QString path = currentPath();
    const QString question = QStringLiteral("Путь \"") + QDir::toNativeSeparators(path)
                             + QStringLiteral("\" - для сохранеия результатов расчета?");
    if (dialogs().ask(QStringLiteral("В н и м а н и е ! ! !"), question, Icon::Question, Buttons::YesNo)
        != Answer::Yes)
        return;
    if (saveSection_ && !saveSection_())
        return;
    if (!storage_.write(path))
        return;
    reportFolder_ = path;
    finish();
}

void frmAddFolder::addSection(QWidget* section, std::function<bool()> save)
{
    // The buttons move under the section: they confirm both.
    Frame1->layout()->removeItem(buttons_);
    auto* outer = static_cast<QVBoxLayout*>(layout());
    outer->addWidget(section);
    outer->addLayout(buttons_);
    saveSection_ = std::move(save);
    resize(width(), height() + section->sizeHint().height());
}

void frmAddFolder::cancel()
{
    finish();
}

void frmAddFolder::finish()
{
    if (finished_)
        return;
    finished_ = true;
    hide();
    deleteLater();
    if (returnScreen_)
        returnScreen_->show();
}

void frmAddFolder::closeEvent(QCloseEvent* event)
{
    event->ignore();
    cancel();
}

frmAddFolder* openReportFolderDialog(FolderStorage storage, QString& reportFolder, const QString& fallback,
                                     QWidget* opener)
{
    auto* dialog = new frmAddFolder(std::move(storage), reportFolder, fallback, opener);
    if (opener)
        opener->hide();
    dialog->show();
    return dialog;
}

}  // namespace veltron::ui
