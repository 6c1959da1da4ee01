#pragma once

#include "records/app_state.h"
#include "records/reference_lists.h"
#include "records/signature.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace veltron::screens {

// «Подпись» of the report folder dialog: who signs the reports and where the
// input data came from. The position and the source are chosen from the
// organisation lists (tabDolgn in Combo1, tabIstochnik in Istochnik), whose
// editor «…» opens; the last choice is kept per data folder.
class SignatureSection : public QGroupBox {
    Q_OBJECT
public:
    explicit SignatureSection(AppState& state, QWidget* parent = nullptr);

    QComboBox* Combo1;         // «Должность»
    QPushButton* cmdDolgn;     // «…»: the list of positions
    QLineEdit* txtIspolnitel;  // «Исполнитель»
    QComboBox* Istochnik;      // «Источник исходных данных»
    QPushButton* cmdIstochnik; // «…»: the list of sources

    records::Signature signature() const;
    // Keeps the choice for this data folder; false, with the reason shown, when it cannot.
    bool save();

private:
    // Fills a list with an empty first item and the entries of its table, then selects `chosen`.
    void fill(QComboBox* list, records::Directory table, const QString& chosen);
    void openEditor(QComboBox* list, records::Directory table, const char* screen);

    AppState& state_;
};

}  // namespace veltron::screens
