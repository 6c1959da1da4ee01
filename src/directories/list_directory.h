#pragma once

#include "records/app_state.h"
#include "records/reference_lists.h"
#include "ui/screen.h"

#include <QList>

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::directories {

// What sets one list directory apart from the others.
struct ListDirectoryKind {
    records::Directory table;
    const char* screen;
    QString title;
    const char* headingName;  // the label over the grid
    QString heading;
    const char* frameName;  // the frame of the grid and its buttons
    const char* gridName;
    QString nameLabel;   // beside Name_Object
    QString nameHeader;  // of grid column 0
    int nameWidth;       // twips
    struct Value {
        const char* box;  // the box's name, also the field's
        QString label;
        QString header;
        int width;  // twips
    };
    std::vector<Value> values;
    int charsPerLine = 0;  // of a name in the grid, for the row height; 0: one line
    bool doubleClickEdits = true;
    // Surfaces: the name of the current calculation's surface cannot be
    // changed, and a surface of any stored calculation cannot be deleted.
    bool guardsSurfaces = false;
    // An empty table hides the grid and shows "Данные не введены".
    bool hidesEmptyGrid = true;
    QString enterCaption;
    QString deleteQuestion;
    QString nameTaken;  // the refusal of a name already there, with %1 for it
    int browsingHeight = 0;  // twips; 0: the window keeps its height
    int editingHeight = 0;
};

// A list of names, with their numbers where the table has any, and an edit
// panel: the surfaces, fuel kinds and compounds directories and the
// organisation-list editor. An entry is changed in place. The screen that
// opened it shows again when it closes ("<<Назад") and refills its own list.
// Each screen fills its grid once it is made.
class ListDirectory : public ui::Screen {
    Q_OBJECT
public:
    ListDirectory(AppState& state, ListDirectoryKind kind, QWidget* parent = nullptr);

    QLabel* heading;
    QGroupBox* browseFrame;
    QTableWidget* grid;
    QLabel* Label4 = nullptr;  // "Данные не введены", where an empty grid is hidden
    QLabel* lblMissing;        // what the marks of unusable values mean; shown with a mark
    QPushButton* Command2;
    QPushButton* Command5;
    QPushButton* Command3;
    QGroupBox* Frame1;
    QLineEdit* Name_Object;
    QList<ui::NumericEdit*> values;  // in the order of the grid's columns
    QPushButton* Command1;
    QPushButton* Command4;
    QAction* mnuPred;

    void fill();
    void newEntry();
    void changeEntry();
    bool enter();
    void cancel();
    void deleteEntry();
    void back();

    // Name of the selected data row; empty when none is selected.
    QString selectedName() const;
    bool editing() const { return editing_; }

protected:
    void closedByFrame() override { back(); }
    ListDirectoryKind kind_;

private:
    void build();
    void rowSelected();
    void showBrowsing();
    void showPanel();
    bool currentSurfaceIs(const QString& name);

    AppState& state_;
    QList<records::DirectoryEntry> entries_;  // as the grid rows show them
    QString remembered_;                       // the entry being changed; empty for a new one
    bool editing_ = false;
    bool filling_ = false;
};

class frmBD_Type : public ListDirectory {
    Q_OBJECT
public:
    explicit frmBD_Type(AppState& state, QWidget* parent = nullptr);
};

class frmBD_Goryuch : public ListDirectory {
    Q_OBJECT
public:
    explicit frmBD_Goryuch(AppState& state, QWidget* parent = nullptr);
};

class frmBD_KVV : public ListDirectory {
    Q_OBJECT
public:
    explicit frmBD_KVV(AppState& state, QWidget* parent = nullptr);
};

// The editor of an organisation list (tabDolgn or tabIstochnik of the second
// database) under a title its caller gives.
class frmBD : public ListDirectory {
    Q_OBJECT
public:
    frmBD(AppState& state, records::Directory list, const QString& title, QWidget* parent = nullptr);

    // Shows the list under the title.
    void FillNameList(records::Directory list, const QString& title);
};

}  // namespace veltron::directories
