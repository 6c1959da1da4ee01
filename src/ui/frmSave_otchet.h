#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;

namespace veltron::ui {

// The window shown while a report is being made, with a running clock.
class frmSave_otchet : public QWidget {
    Q_OBJECT
public:
    explicit frmSave_otchet(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QTimer* Timer1;

    void tick();
};

// For the time of one report: hides the screen that asked for it, shows the
// progress window, and on leaving the scope closes it and shows the screen again.
class ReportProgress {
public:
    explicit ReportProgress(QWidget* screen);
    ~ReportProgress();
    ReportProgress(const ReportProgress&) = delete;
    ReportProgress& operator=(const ReportProgress&) = delete;

private:
    QPointer<QWidget> screen_;
    frmSave_otchet* window_;
};

}  // namespace veltron::ui
