#pragma once
#include <QMainWindow>

class CCorvaneModulesDoc;
class CCorvaneModulesView;

// The main window: the menu and the view; no toolbar, no status bar.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    CCorvaneModulesView* View() const { return view_; }

    static constexpr const char* kTitle = "Corvane Utility Version 2.0.0";

    // Sizes the window to show the whole instruction text, within the
    // screen's available area.
    void FitToContent();

public slots:
    void OnAppAbout();
    // Writes the link traffic kept in memory, the port settings and the end
    // of the event log into a file the user chooses, for a support report.
    void OnSaveLinkLog();

private:
    CCorvaneModulesDoc* doc_;
    CCorvaneModulesView* view_;
};
