#include "screens/report_folder_dialog.h"

#include "db/program_folders.h"
#include "records/user_memory.h"
#include "screens/signature_section.h"
#include "ui/frmAddFolder.h"

namespace veltron::screens {

void openReportFolder(AppState& state, QWidget* opener)
{
    // The folder is the user's own, kept apart for each store.
    const db::Store& store = state.db();
    const QString settings = state.userSettingsFile;
    ui::FolderStorage storage;
    storage.read = [&store, settings] { return records::UserMemory(store, settings).reportFolder(); };
    storage.write = [&store, settings](const QString& path) {
        records::UserMemory(store, settings).rememberReportFolder(path);
        return true;
    };
    ui::frmAddFolder* dialog = ui::openReportFolderDialog(std::move(storage), state.reportFolder,
                                                          db::defaultReportFolder(state.programDir), opener);
    auto* signature = new SignatureSection(state, dialog);
    dialog->addSection(signature, [signature] { return signature->save(); });
}

}  // namespace veltron::screens
