#include "screens/report_folder_dialog.h"

#include "db/program_folders.h"
#include "records/report_folder.h"
#include "screens/signature_section.h"
#include "screens/store_errors.h"
#include "ui/frmAddFolder.h"

namespace veltron::screens {

void openReportFolder(AppState& state, QWidget* opener)
{
    db::Store& store = state.db();
    ui::FolderStorage storage;
    // An unreadable tabPath opens the dialog as on a first run, without a message.
    storage.read = [&store] {
        try {
            return records::storedReportFolder(store);
        } catch (const db::StoreError&) {
            return QString();
        }
    };
    storage.write = [&store](const QString& path) {
        return onStore([&] { records::storeReportFolder(store, path); });
    };
    ui::frmAddFolder* dialog = ui::openReportFolderDialog(std::move(storage), state.reportFolder,
                                                          db::defaultReportFolder(state.programDir), opener);
    auto* signature = new SignatureSection(state, dialog);
    dialog->addSection(signature, [signature] { return signature->save(); });
}

}  // namespace veltron::screens
