#pragma once
#include <QApplication>
#include <memory>

class CMainFrame;

// The application object: made after the settings store and the event log.
class CCorvaneModulesApp : public QApplication {
    Q_OBJECT
public:
    CCorvaneModulesApp(int& argc, char** argv);
    ~CCorvaneModulesApp() override;
    // Creates and shows the main window; false when that fails.
    bool InitInstance();
    CMainFrame* MainFrame() const { return frame_.get(); }

private:
    std::unique_ptr<CMainFrame> frame_;
};
